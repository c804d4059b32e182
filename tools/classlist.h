#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace voltmetr {

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
};

// A class the list writes otherwise than its unified name, once for each way it is written.
struct UnifiedClass
{
    QString typed;
    QString unified;
    int line = 0; // the first line that writes it so
};

struct ClassList
{
    QList<ClassListPupil> pupils;
    QList<SkippedLine> skipped;
    QList<UnifiedClass> unifiedClasses;
    QString encoding; // the encoding the list was read in, for the teacher
    QString error;    // Czech; when set, the whole list is refused and pupils is empty
    bool ok() const { return error.isEmpty(); }
};

ClassList readClassList(const QByteArray& bytes);

} // namespace voltmetr
