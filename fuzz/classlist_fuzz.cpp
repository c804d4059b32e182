// A class list read from whatever bytes a teacher hands over. What is read is sound (every
// pupil has a surname and a class, blanks trimmed, no pupil twice, lines in order and within
// the file), a refused list carries nothing else, and the pupils written out again as a plain
// UTF-8 list with a header read back as the same pupils.

#include "classlist.h"

#include <QByteArray>
#include <QSet>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace voltmetr;

// The one call into the reader, so that a new reader is one line away.
ClassList readList(const QByteArray& bytes)
{
    return readClassList(bytes);
}

[[noreturn]] void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

QByteArray quoted(const QString& field)
{
    QString text = field;
    text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return '"' + text.toUtf8() + '"';
}

QByteArray writtenOut(const ClassList& list)
{
    QByteArray csv = QStringLiteral("Příjmení;Třída\r\n").toUtf8();
    for (const ClassListPupil& pupil : list.pupils) {
        csv += quoted(pupil.surname) + ';' + quoted(pupil.pupilClass) + "\r\n";
    }
    return csv;
}

QString describe(const ClassListPupil& pupil)
{
    return QStringLiteral("řádek %1: „%2“ „%3“")
        .arg(pupil.line)
        .arg(pupil.surname, pupil.pupilClass);
}

void checkSound(const ClassList& list, const QByteArray& bytes)
{
    if (!list.ok()) {
        if (!list.pupils.isEmpty() || !list.skipped.isEmpty()) {
            fail("a refused list still gives pupils or skipped lines", list.error);
        }
        return;
    }
    const QStringList named{QStringLiteral("UTF-8"), QStringLiteral("Windows-1250"),
                            QStringLiteral("UTF-16 LE"), QStringLiteral("UTF-16 BE")};
    if (!named.contains(list.encoding)) {
        fail("a list read in an encoding it does not name", list.encoding);
    }
    // Every line of the file ends in a line feed or a carriage return (or the file ends).
    const qsizetype lastLine = bytes.count('\n') + bytes.count('\r') + 1;
    int previousLine = 0;
    QSet<QStringList> seen;
    for (const ClassListPupil& pupil : list.pupils) {
        if (pupil.surname.isEmpty() || pupil.pupilClass.isEmpty() ||
            pupil.surname != pupil.surname.trimmed() ||
            pupil.pupilClass != pupil.pupilClass.trimmed()) {
            fail("a pupil without a surname or class, or with blanks around one", describe(pupil));
        }
        if (pupil.line <= previousLine || pupil.line > lastLine) {
            fail("a pupil's line is out of order or beyond the file", describe(pupil));
        }
        previousLine = pupil.line;
        const QStringList key{pupil.surname, pupil.pupilClass};
        if (seen.contains(key)) {
            fail("the same pupil is read twice", describe(pupil));
        }
        seen.insert(key);
    }
    for (const SkippedLine& skipped : list.skipped) {
        if (skipped.line < 1 || skipped.line > lastLine || skipped.reason.isEmpty()) {
            fail("a skipped line without a line of the file or a reason", skipped.reason);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ClassList list = readList(bytes);
    checkSound(list, bytes);
    if (!list.ok() || list.pupils.isEmpty()) {
        return 0;
    }

    const QByteArray again = writtenOut(list);
    const ClassList reread = readList(again);
    if (!reread.ok() || !reread.skipped.isEmpty() || reread.pupils.size() != list.pupils.size()) {
        fail("the pupils written out as a plain list are not read back whole",
             reread.error + u'\n' + QString::fromUtf8(again));
    }
    for (qsizetype i = 0; i < list.pupils.size(); ++i) {
        if (reread.pupils[i].surname != list.pupils[i].surname ||
            reread.pupils[i].pupilClass != list.pupils[i].pupilClass) {
            fail("a pupil written out as a plain list is read back differently",
                 describe(list.pupils[i]) + u'\n' + describe(reread.pupils[i]));
        }
    }
    return 0;
}
