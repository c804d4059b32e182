#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace voltmetr {

struct Profile;

// A class list as schools export it from their registers: CSV in UTF-8 (with or without a
// byte order mark), Windows-1250 or UTF-16 (saved as "Unicode"), fields separated by ";" or ",",
// quoted with double quotes where needed, with or without a header row. Surname and class are read
// from the columns the header names ("Příjmení", "Třída"), else from the first two columns.
// Classes are read as their unified names ("2b" as "2.B").
struct ClassListPupil
{
    QString surname;
    QString pupilClass;
    int line = 0; // 1-based line of the file
};

struct SkippedLine
{
    int line = 0;
    QString reason; // Czech

    QString told() const; // "Řádek 3 vynechán: chybí třída."
};

// A class the list writes otherwise than its unified name, once for each way it is written.
struct UnifiedClass
{
    QString typed;
    QString unified;
    int line = 0; // the first line that writes it so

    QString told() const; // "Třída „2b“ (poprvé na řádku 1) je zapsána jako „2.B“."
};

struct ClassList
{
    QList<ClassListPupil> pupils;
    QList<SkippedLine> skipped;
    QList<UnifiedClass> unifiedClasses;
    QString encoding; // the encoding the list was read in, for the teacher
    QString error;    // Czech; when set, the whole list is refused and pupils is empty
    // A list without a header whose columns cannot be told apart: its first lines, field by
    // field, for the teacher to say which column is which; refused until read with them.
    QList<QStringList> firstLines;

    bool ok() const { return error.isEmpty(); }
    bool columnsToName() const { return !firstLines.isEmpty(); }
};

// The columns of a list without a header as the teacher names them, counted from 0.
struct NamedColumns
{
    qsizetype surname = 0;
    qsizetype pupilClass = 1;
};

// A list without a header is read from the named columns when they are given, else from the
// columns its lines tell apart.
ClassList readClassList(const QByteArray& bytes, std::optional<NamedColumns> named = std::nullopt);

// Why the sign-in list could not offer the pupil as the one profile he is: an entry reads
// "surname; class" on one line and is read back at its semicolons. Czech; empty when it can.
QString listEntryProblem(const Profile& pupil);

} // namespace voltmetr
