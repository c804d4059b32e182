#include "classlist.h"

#include "app/windows1250.h"
#include "czechorder.h"
#include "school/classname.h"
#include "school/profile.h"
#include "textfile.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace voltmetr {

namespace {

struct Record
{
    QStringList fields;
    int line = 0;
};

struct Candidate
{
    ClassListPupil pupil;
    QString firstName; // empty when the list has no first names
};

struct Text
{
    QString text;
    QString encoding;
    QString error;
};

ClassList refused(QString reason)
{
    ClassList list;
    list.error = std::move(reason);
    return list;
}

// Characters below U+0020 but the tab and the line ends.
bool hasControlCharacters(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n';
    });
}

// The refusal of a list that neither encoding reads, with the line and what stands there.
QString neitherEncoding(int line, const QString& shown)
{
    return QStringLiteral("Seznam není v UTF-8 ani ve Windows-1250 (řádek %1: „%2“); uložte ho "
                          "znovu v jednom z nich.")
        .arg(line)
        .arg(shown);
}

// The first line that is not UTF-8 (1-based) as UTF-8 reads it, a byte that belongs to no
// character shown as U+FFFD. A line ends at LF, CR LF or a lone CR; as neither byte is ever
// part of a UTF-8 character, each line can be read alone.
std::pair<int, QString> firstLineNotUtf8(QByteArrayView bytes)
{
    int line = 1;
    for (qsizetype start = 0; start < bytes.size(); ++line) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') {
            ++end;
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes.sliced(start, end - start));
        if (utf8.hasError()) {
            return {line, text.trimmed()};
        }
        start = end + (bytes.sliced(end).startsWith("\r\n") ? 2 : 1);
    }
    return {line, {}};
}

// Whether text read as UTF-8 holds a character from U+00C0 to U+017F: the letters of Latin-1 and
// Latin Extended-A, every Czech and Slovak one among them.
bool holdsUtf8Letters(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0xc0 && c.unicode() <= 0x17f; });
}

// Registers export UTF-8 (often with a byte order mark) or Windows-1250; a list edited in
// Notepad may come back as UTF-16, which tells itself apart. A Windows-1250 text
// is almost never valid UTF-8, so what decodes strictly as UTF-8 is taken to be UTF-8.
//
// A text that does not is Windows-1250, unless it is UTF-8 with a stray byte (a line pasted from
// elsewhere, a damaged copy), which Windows-1250 would read as "KoÄŤĂ­" for "Kočí": that one is
// refused with the line of the byte. It shows itself by a byte order mark, or by a letter
// encoded in UTF-8 that a name may hold (holdsUtf8Letters). Any valid UTF-8 sequence would not
// do: Windows-1250 makes one by chance wherever a capital from 0xC2 to 0xDF precedes a byte from
// 0x80 to 0xBF ("PÍŠA" holds 0xCD 0x8A, U+034A), or a small letter two of them. Only a pair
// that starts with "Ă", "Ä" or "Ĺ" (0xC3 to 0xC5) is a letter of that range, and its second
// byte is then a symbol or a letter that no name puts there ("Ă©" reads as "é", "ÄŤ" as "č"):
// a list holding one is refused rather than misread.
Text decodeText(const QByteArray& bytes)
{
    const QByteArray utf8Bom("\xef\xbb\xbf");
    const QString binary =
        QStringLiteral("Soubor není textový seznam žáků (obsahuje binární data).");
    if (const std::optional<Utf16Text> utf16 = readUtf16(bytes)) {
        if (utf16->damaged) {
            return {
                {}, {}, QStringLiteral("Seznam v kódování UTF-16 je poškozený; uložte ho znovu.")};
        }
        return hasControlCharacters(utf16->text) ? Text{{}, {}, binary}
                                                 : Text{utf16->text, utf16->encoding, {}};
    }
    if (hasControlCharacters(QString::fromLatin1(bytes))) {
        return {{}, {}, binary};
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const bool withBom = bytes.startsWith(utf8Bom);
    const QByteArrayView body = QByteArrayView(bytes).sliced(withBom ? utf8Bom.size() : 0);
    QString text = utf8.decode(body);
    if (!utf8.hasError()) {
        return {text, QStringLiteral("UTF-8"), {}};
    }
    if (withBom || holdsUtf8Letters(text)) {
        const auto [line, shown] = firstLineNotUtf8(body);
        return {{},
                {},
                withBom ? QStringLiteral("Seznam začíná značkou UTF-8, ale není v UTF-8 (řádek %1: "
                                         "„%2“).")
                              .arg(line)
                              .arg(shown)
                        : neitherEncoding(line, shown)};
    }
    return {fromWindows1250(bytes), QStringLiteral("Windows-1250"), {}};
}

// Characters that never stand in a surname or a class but do turn up when a list in another
// code page is read as Windows-1250: from DOS Latin 2 "á" becomes a no-break space and "ů" an
// ellipsis, from ISO Latin 2 "Š" becomes "©".
bool looksMisdecoded(const QString& value)
{
    for (const QChar c : value) {
        const bool control = c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f);
        const bool symbol =
            c.category() >= QChar::Symbol_Math && c.category() <= QChar::Symbol_Other;
        if (control || symbol || c == QChar(0x00a0) || c == u'…' || c == u'ˇ' || c == u'‚' ||
            c == u'„' || c == u'«' || c == u'»') {
            return true;
        }
    }
    return false;
}

QChar detectSeparator(QStringView line)
{
    return line.count(u';') == 0 && line.count(u',') > 0 ? u',' : u';';
}

// Splits CSV text into records, honouring double quotes (a quoted field may hold the
// separator, a doubled quote, or a line break).
QList<Record> splitRecords(const QString& text, QChar separator)
{
    QList<Record> records;
    Record record{{}, 1};
    QString field;
    bool quoted = false;
    int line = 1;
    const auto endRecord = [&] {
        record.fields.append(field.trimmed());
        records.append(record);
        record = Record{{}, line};
        field.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                line += c == u'\n' ? 1 : 0;
                field += c;
            }
        } else if (c == u'"' && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
        } else if (c == separator) {
            record.fields.append(field.trimmed());
            field.clear();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            ++line;
            endRecord();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !record.fields.isEmpty()) {
        endRecord();
    }
    return records;
}

struct Columns
{
    qsizetype surname = 0;
    qsizetype pupilClass = 1;
    std::optional<qsizetype> firstName; // tells namesakes from a pupil listed twice
};

struct Header
{
    bool present = false;
    bool complete = false; // names both the surname's and the class's column
    Columns columns;
    QString error;
};

// A record is a header when any of its fields names a column that registers export.
Header readHeader(const QStringList& fields)
{
    std::optional<qsizetype> surname;
    std::optional<qsizetype> pupilClass;
    std::optional<qsizetype> firstName;
    Header header;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString name = teacher::plainName(fields[i]);
        if (!surname &&
            (name.contains(QStringLiteral("prijmeni")) || name == QStringLiteral("surname") ||
             name == QStringLiteral("last name"))) {
            surname = i;
        } else if (!pupilClass &&
                   (name.startsWith(QStringLiteral("trida")) || name == QStringLiteral("class"))) {
            pupilClass = i;
        } else if (!firstName &&
                   (name == QStringLiteral("jmeno") || name == QStringLiteral("krestni jmeno") ||
                    name == QStringLiteral("first name"))) {
            firstName = i;
        }
        header.present = header.present || surname == i || pupilClass == i || firstName == i ||
                         name == QStringLiteral("name") || name == QStringLiteral("zak");
    }
    if (!header.present) {
        return header;
    }
    if (!surname) {
        header.error = QStringLiteral("V záhlaví seznamu chybí sloupec „Příjmení“.");
    } else if (!pupilClass) {
        header.error = QStringLiteral("V záhlaví seznamu chybí sloupec „Třída“.");
    } else {
        header.complete = true;
        header.columns = {*surname, *pupilClass, firstName};
    }
    return header;
}

// Registers put a title ("Seznam žáků – 2.B, školní rok 2026/27") above the header: the header
// is the first of the opening lines that names both columns. Lines above it are titles; with
// no such line the first line is the header or already a pupil.
struct HeaderLine
{
    qsizetype index = -1; // in the lines, -1 when the list has no header naming both columns
    QStringView text;
};

HeaderLine findHeaderLine(const QString& text)
{
    constexpr qsizetype titleLines = 5;
    qsizetype start = 0;
    for (qsizetype index = 0; index <= titleLines && start < text.size(); ++index) {
        qsizetype end = text.indexOf(u'\n', start);
        end = end < 0 ? text.size() : end;
        const QStringView line = QStringView(text).sliced(start, end - start);
        if (readHeader(splitRecords(line.toString(), detectSeparator(line)).value(0).fields)
                .complete) {
            return {index, line};
        }
        start = end + 1;
    }
    return {};
}

// The fields up to the last one that holds anything: registers end lines with empty fields.
qsizetype usedFields(const Record& record)
{
    qsizetype used = record.fields.size();
    while (used > 0 && record.fields[used - 1].isEmpty()) {
        --used;
    }
    return used;
}

bool isBlank(const Record& record)
{
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const QString& field) { return field.isEmpty(); });
}

// What to write behind each namesake's surname so that each gets a profile of his own: the
// initial of the first name, or the whole first name where the initials are the same.
QStringList distinguishedSurnames(const QList<const Candidate*>& namesakes)
{
    QSet<QChar> initials;
    for (const Candidate* namesake : namesakes) {
        initials.insert(namesake->firstName.front().toUpper());
    }
    const bool initialsDiffer = initials.size() == namesakes.size();
    QStringList surnames;
    for (const Candidate* namesake : namesakes) {
        surnames.append(QStringLiteral("„%1 %2“").arg(
            namesake->pupil.surname, initialsDiffer
                                         ? QString(namesake->firstName.front().toUpper()) + u'.'
                                         : namesake->firstName));
    }
    return surnames;
}

QString lineList(const QList<const Candidate*>& candidates, const Candidate* except)
{
    QStringList lines;
    for (const Candidate* candidate : candidates) {
        if (candidate != except) {
            lines.append(QString::number(candidate->pupil.line));
        }
    }
    return lines.join(QStringLiteral(", "));
}

// Pupils of one class with one surname would share one profile, and their runs one total.
// Where first names tell them apart, none of them is imported: the teacher adds to each the
// initial the message proposes and imports the list again. Without first names, a second line
// is most likely the same pupil twice: the first is imported, and the message says what to do
// if the second is someone else.
void sortOutNamesakes(const QList<Candidate>& candidates, ClassList& list)
{
    QHash<std::pair<QString, QString>, QList<const Candidate*>> groups;
    for (const Candidate& candidate : candidates) {
        groups[{candidate.pupil.surname, candidate.pupil.pupilClass}].append(&candidate);
    }
    for (const Candidate& candidate : candidates) {
        const QList<const Candidate*>& group =
            groups[{candidate.pupil.surname, candidate.pupil.pupilClass}];
        QSet<QString> firstNames;
        for (const Candidate* member : group) {
            firstNames.insert(member->firstName);
        }
        const bool namesakes = firstNames.size() > 1 && !firstNames.contains(QString());
        if (group.size() == 1) {
            list.pupils.append(candidate.pupil);
        } else if (namesakes) {
            list.skipped.append(
                {candidate.pupil.line,
                 QStringLiteral("%1 (%2) má ve třídě %3 jmenovce na %4; aby měl každý svůj "
                                "profil, napište je do seznamu jako %5 a seznam načtěte znovu")
                     .arg(candidate.pupil.surname, candidate.firstName, candidate.pupil.pupilClass,
                          (group.size() > 2 ? QStringLiteral("řádcích ")
                                            : QStringLiteral("řádku ")) +
                              lineList(group, &candidate),
                          distinguishedSurnames(group).join(QStringLiteral(", ")))});
        } else if (group.first() == &candidate) {
            list.pupils.append(candidate.pupil);
        } else {
            list.skipped.append(
                {candidate.pupil.line,
                 QStringLiteral("%1 ze třídy %2 už je na řádku %3; je-li to jiný žák se stejným "
                                "příjmením, napište oběma za příjmení iniciálu jména (např. "
                                "„%1 J.“) a seznam načtěte znovu")
                     .arg(candidate.pupil.surname, candidate.pupil.pupilClass)
                     .arg(group.first()->pupil.line)});
        }
    }
}

// The columns of a list without a header, when they can be told apart: two columns, one of
// which holds a class name ("2.B", "3a") on every line that fills it and the other on none.
// "Novotný;Petr;2.B" or "Novák;Sexta" cannot be told apart: the teacher names the columns.
std::optional<Columns> columnsWithoutHeader(const QList<Record>& records)
{
    const auto everyFilled = [&](qsizetype column, bool classes) {
        return std::all_of(records.begin(), records.end(), [&](const Record& record) {
            const QString field = record.fields.value(column).trimmed();
            return field.isEmpty() || isClassName(field) == classes;
        });
    };
    const bool twoColumns = std::all_of(records.begin(), records.end(), [](const Record& record) {
        return usedFields(record) <= 2;
    });
    if (twoColumns && everyFilled(1, true) && everyFilled(0, false)) {
        return Columns{0, 1, std::nullopt};
    }
    if (twoColumns && everyFilled(0, true) && everyFilled(1, false)) {
        return Columns{1, 0, std::nullopt};
    }
    return std::nullopt;
}

} // namespace

QString SkippedLine::told() const
{
    return QStringLiteral("Řádek %1 vynechán: %2.").arg(line).arg(reason);
}

QString UnifiedClass::told() const
{
    return QStringLiteral("Třída „%1“ (poprvé na řádku %2) je zapsána jako „%3“.")
        .arg(typed, QString::number(line), unified);
}

QString listEntryProblem(const Profile& pupil)
{
    const struct
    {
        const QString& value;
        const char16_t* what;
    } fields[] = {{pupil.surname, u"příjmení"}, {pupil.className, u"třída"}};
    for (const auto& [value, what] : fields) {
        const QString name = QString::fromUtf16(what);
        if (value.isEmpty()) {
            return QStringLiteral("chybí %1").arg(name);
        }
        const auto control = std::find_if(value.begin(), value.end(), [](QChar c) {
            return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                   c == QChar::ParagraphSeparator;
        });
        if (control != value.end()) {
            return QStringLiteral("%1 „%2“ obsahuje %3, který seznam při přihlášení neukáže; "
                                  "opravte ho v seznamu")
                .arg(name,
                     QString(value).replace(QRegularExpression(QStringLiteral("\\s")),
                                            QStringLiteral(" ")),
                     *control == u'\n' || *control == u'\r' || *control == QChar::LineSeparator ||
                             *control == QChar::ParagraphSeparator
                         ? QStringLiteral("konec řádku")
                         : QStringLiteral("řídicí znak"));
        }
    }
    if (parseProfileEntry(profileEntry(pupil)) != pupil) {
        return QStringLiteral("v seznamu při přihlášení by se „%1; %2“ četlo jako žák „%3“ "
                              "třídy „%4“: příjmení ani třída nesmí obsahovat „;“")
            .arg(pupil.surname, pupil.className, parseProfileEntry(profileEntry(pupil)).surname,
                 parseProfileEntry(profileEntry(pupil)).className);
    }
    return {};
}

ClassList readClassList(const QByteArray& bytes, std::optional<NamedColumns> named)
{
    const Text decoded = decodeText(bytes);
    if (!decoded.error.isEmpty()) {
        return refused(decoded.error);
    }
    const HeaderLine headerLine = findHeaderLine(decoded.text);
    const QStringView firstLine =
        QStringView(decoded.text)
            .first(decoded.text.contains(u'\n') ? decoded.text.indexOf(u'\n')
                                                : decoded.text.size());
    const QChar separator = detectSeparator(headerLine.index >= 0 ? headerLine.text : firstLine);
    QList<Record> records = splitRecords(decoded.text, separator);
    records.removeIf(isBlank);
    records.removeIf([&](const Record& record) { return record.line <= headerLine.index; });
    if (records.isEmpty()) {
        return refused(QStringLiteral("Seznam je prázdný."));
    }

    Columns columns;
    const Header header = readHeader(records.first().fields);
    if (!header.error.isEmpty()) {
        return refused(header.error);
    }
    // A ";" typed into a name without quotes splits it in two, and every field after it slides
    // one column on: "Dvořák; ml.;Petr;2.B" would be a pupil of class "Petr".
    qsizetype columnCount = std::numeric_limits<qsizetype>::max();
    if (header.present) {
        columns = header.columns;
        columnCount = usedFields(records.first());
        records.removeFirst();
    }
    if (!header.present && named) {
        if (named->surname == named->pupilClass) {
            return refused(QStringLiteral("Příjmení a třída nemohou být v jednom sloupci."));
        }
        columns = {named->surname, named->pupilClass, std::nullopt};
    }
    const bool anyClass = std::any_of(records.begin(), records.end(), [&](const Record& r) {
        return r.fields.size() > columns.pupilClass;
    });
    if (!records.isEmpty() && !anyClass) {
        return refused(QStringLiteral("Seznam má jen jeden sloupec: chybí sloupec s třídou."));
    }
    if (!header.present && !named) {
        if (const std::optional<Columns> told = columnsWithoutHeader(records)) {
            columns = *told;
        } else {
            ClassList list = refused(QStringLiteral(
                "Seznam nemá záhlaví a nedá se poznat, který sloupec je příjmení a který třída; "
                "napište na první řádek názvy sloupců, například „Příjmení;Jméno;Třída“, nebo "
                "sloupce určete v okně učitele (voltmetr-ucitel okno)."));
            list.encoding = decoded.encoding;
            constexpr qsizetype shownLines = 5;
            for (const Record& record : records.first(std::min(records.size(), shownLines))) {
                list.firstLines.append(record.fields.first(usedFields(record)));
            }
            return list;
        }
    }

    ClassList list;
    list.encoding = decoded.encoding;
    QList<Candidate> candidates;
    for (const Record& record : records) {
        const QString typedClass = record.fields.value(columns.pupilClass);
        const Candidate candidate{
            {record.fields.value(columns.surname), unifiedClassName(typedClass), record.line},
            columns.firstName ? record.fields.value(*columns.firstName) : QString()};
        const bool spelledAnew =
            std::none_of(list.unifiedClasses.begin(), list.unifiedClasses.end(),
                         [&](const UnifiedClass& unified) { return unified.typed == typedClass; });
        if (candidate.pupil.pupilClass != typedClass && spelledAnew) {
            list.unifiedClasses.append({typedClass, candidate.pupil.pupilClass, record.line});
        }
        const ClassListPupil& pupil = candidate.pupil;
        if (decoded.encoding == QStringLiteral("Windows-1250") &&
            (looksMisdecoded(pupil.surname) || looksMisdecoded(pupil.pupilClass))) {
            return refused(neitherEncoding(record.line, pupil.surname));
        }
        if (usedFields(record) > columnCount) {
            list.skipped.append(
                {record.line, QStringLiteral("řádek má víc polí (%1) než záhlaví (%2); je-li "
                                             "„%3“ v některém jménu, opravte ho v seznamu")
                                  .arg(usedFields(record))
                                  .arg(columnCount)
                                  .arg(separator)});
        } else if (const QString reason = listEntryProblem({pupil.surname, pupil.pupilClass});
                   !reason.isEmpty()) {
            list.skipped.append({record.line, reason});
        } else {
            candidates.append(candidate);
        }
    }
    sortOutNamesakes(candidates, list);
    std::stable_sort(list.skipped.begin(), list.skipped.end(),
                     [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; });
    return list;
}

} // namespace voltmetr
