#include "results/classlist.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <utility>

namespace voltmetr {

namespace {

struct Record
{
    QStringList fields;
    int line = 0;
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

bool looksLikeUtf16(const QByteArray& bytes)
{
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff")) {
        return true;
    }
    // Without a byte order mark: the high byte of every Latin letter is zero, always on the
    // same side of the pair, while the other side never is.
    const qsizetype pairs = bytes.size() / 2;
    qsizetype zerosFirst = 0;
    qsizetype zerosSecond = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        zerosFirst += bytes[i] == '\0' ? 1 : 0;
        zerosSecond += bytes[i + 1] == '\0' ? 1 : 0;
    }
    const auto mostly = [&](qsizetype zeros) { return pairs > 0 && zeros * 3 >= pairs; };
    return (mostly(zerosFirst) && zerosSecond == 0) || (mostly(zerosSecond) && zerosFirst == 0);
}

bool hasControlBytes(const QByteArray& bytes)
{
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x20 && code != '\t' && code != '\r' && code != '\n') {
            return true;
        }
    }
    return false;
}

// Registers export UTF-8 (often with a byte order mark) or Windows-1250. A Windows-1250 text
// is almost never valid UTF-8, so what decodes strictly as UTF-8 is taken to be UTF-8.
Text decodeText(const QByteArray& bytes)
{
    const QByteArray utf8Bom("\xef\xbb\xbf");
    if (looksLikeUtf16(bytes)) {
        return {{},
                {},
                QStringLiteral("Seznam je v kódování UTF-16; uložte ho jako CSV v UTF-8 "
                               "nebo ve Windows-1250.")};
    }
    if (hasControlBytes(bytes)) {
        return {{}, {}, QStringLiteral("Soubor není textový seznam žáků (obsahuje binární data).")};
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const bool withBom = bytes.startsWith(utf8Bom);
    QString text = utf8.decode(withBom ? bytes.sliced(utf8Bom.size()) : bytes);
    if (!utf8.hasError()) {
        return {text, QStringLiteral("UTF-8"), {}};
    }
    if (withBom) {
        return {{}, {}, QStringLiteral("Seznam začíná značkou UTF-8, ale není v UTF-8.")};
    }
    QStringDecoder windows1250("windows-1250");
    Q_ASSERT(windows1250.isValid());
    return {windows1250.decode(bytes), QStringLiteral("Windows-1250"), {}};
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

QChar detectSeparator(const QString& text)
{
    const qsizetype lineEnd = text.indexOf(u'\n');
    const QStringView firstLine = QStringView(text).first(lineEnd < 0 ? text.size() : lineEnd);
    return firstLine.count(u';') == 0 && firstLine.count(u',') > 0 ? u',' : u';';
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

QString plainName(const QString& header)
{
    QString plain;
    for (const QChar c : header.normalized(QString::NormalizationForm_D).toLower()) {
        if (c.category() != QChar::Mark_NonSpacing) {
            plain += c;
        }
    }
    return plain.simplified();
}

struct Columns
{
    qsizetype surname = 0;
    qsizetype pupilClass = 1;
};

struct Header
{
    bool present = false;
    Columns columns;
    QString error;
};

// The first record is a header when any of its fields names a column that registers export.
Header readHeader(const QStringList& fields)
{
    std::optional<qsizetype> surname;
    std::optional<qsizetype> pupilClass;
    Header header;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString name = plainName(fields[i]);
        if (!surname &&
            (name.contains(QStringLiteral("prijmeni")) || name == QStringLiteral("surname") ||
             name == QStringLiteral("last name"))) {
            surname = i;
        } else if (!pupilClass &&
                   (name.startsWith(QStringLiteral("trida")) || name == QStringLiteral("class"))) {
            pupilClass = i;
        }
        header.present = header.present || surname == i || pupilClass == i ||
                         name == QStringLiteral("jmeno") || name == QStringLiteral("name") ||
                         name == QStringLiteral("zak");
    }
    if (!header.present) {
        return header;
    }
    if (!surname) {
        header.error = QStringLiteral("V záhlaví seznamu chybí sloupec „Příjmení“.");
    } else if (!pupilClass) {
        header.error = QStringLiteral("V záhlaví seznamu chybí sloupec „Třída“.");
    } else {
        header.columns = {*surname, *pupilClass};
    }
    return header;
}

bool isBlank(const Record& record)
{
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const QString& field) { return field.isEmpty(); });
}

} // namespace

ClassList readClassList(const QByteArray& bytes)
{
    const Text decoded = decodeText(bytes);
    if (!decoded.error.isEmpty()) {
        return refused(decoded.error);
    }
    QList<Record> records = splitRecords(decoded.text, detectSeparator(decoded.text));
    records.removeIf(isBlank);
    if (records.isEmpty()) {
        return refused(QStringLiteral("Seznam je prázdný."));
    }

    Columns columns;
    const Header header = readHeader(records.first().fields);
    if (!header.error.isEmpty()) {
        return refused(header.error);
    }
    if (header.present) {
        columns = header.columns;
        records.removeFirst();
    }
    const bool anyClass = std::any_of(records.begin(), records.end(), [&](const Record& r) {
        return r.fields.size() > columns.pupilClass;
    });
    if (!records.isEmpty() && !anyClass) {
        return refused(QStringLiteral("Seznam má jen jeden sloupec: chybí sloupec s třídou."));
    }

    ClassList list;
    list.encoding = decoded.encoding;
    QHash<std::pair<QString, QString>, int> seen;
    for (const Record& record : records) {
        const QString surname = record.fields.value(columns.surname);
        const QString pupilClass = record.fields.value(columns.pupilClass);
        if (decoded.encoding != QStringLiteral("UTF-8") &&
            (looksMisdecoded(surname) || looksMisdecoded(pupilClass))) {
            return refused(QStringLiteral("Seznam není v UTF-8 ani ve Windows-1250 (řádek %1: "
                                          "„%2“); uložte ho znovu v jednom z nich.")
                               .arg(record.line)
                               .arg(surname));
        }
        QString reason;
        if (surname.isEmpty()) {
            reason = QStringLiteral("chybí příjmení");
        } else if (pupilClass.isEmpty()) {
            reason = QStringLiteral("chybí třída");
        } else if (const int earlier = seen.value({surname, pupilClass}); earlier > 0) {
            reason = QStringLiteral("stejný žák už je na řádku %1").arg(earlier);
        }
        if (!reason.isEmpty()) {
            list.skipped.append({record.line, reason});
            continue;
        }
        seen.insert({surname, pupilClass}, record.line);
        list.pupils.append({surname, pupilClass, record.line});
    }
    return list;
}

} // namespace voltmetr
