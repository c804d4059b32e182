#include "results/reportfields.h"

#include "results/reporttext.h"

#include <QRegularExpression>
#include <QStringList>
#include <optional>

namespace voltmetr {

namespace {

// "dd.mm.yyyy hh:mm"; the time separator is whatever the pupil's regional settings use.
bool isReportDate(const QString& value)
{
    static const QRegularExpression date(
        QStringLiteral(R"(^\d\d\.\d\d\.\d\d\d\d \d\d\D{1,3}\d\d$)"));
    return date.match(value).hasMatch();
}

std::optional<int> countValue(QStringView value)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < 0 || value.startsWith(u'+')) {
        return std::nullopt;
    }
    return number;
}

// "<count> (<percent>%)": the count only; the percentage follows from the counts.
std::optional<int> countWithPercent(const QString& value)
{
    static const QRegularExpression shape(QStringLiteral(R"(^(\d+) \(\d+\D\d\d%\)$)"));
    const QRegularExpressionMatch match = shape.match(value);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return countValue(match.capturedView(1));
}

class LineReader
{
public:
    explicit LineReader(QStringList lines) : m_lines(std::move(lines)) {}

    // The value after label on the next line, or nothing (and the reason) when the line
    // does not start with it.
    std::optional<QString> take(const char16_t* label)
    {
        const QString expected = QString::fromUtf16(label);
        if (m_next >= m_lines.size()) {
            m_error = QStringLiteral("Zpráva končí před řádkem %1 „%2“.")
                          .arg(m_next + 1)
                          .arg(expected.trimmed());
            return std::nullopt;
        }
        const QString& line = m_lines[m_next++];
        if (!line.startsWith(expected)) {
            m_error = QStringLiteral("Řádek %1 zprávy nezačíná „%2“: zpráva je poškozená.")
                          .arg(m_next)
                          .arg(expected.trimmed());
            return std::nullopt;
        }
        return line.mid(expected.size());
    }

    void refuseValue(const QString& what)
    {
        m_error = QStringLiteral("Řádek %1 zprávy: %2.").arg(m_next).arg(what);
    }

    qsizetype linesLeft() const { return m_lines.size() - m_next; }
    qsizetype linesRead() const { return m_next; }
    const QString& error() const { return m_error; }

private:
    QStringList m_lines;
    qsizetype m_next = 0;
    QString m_error;
};

} // namespace

ParsedReport parseReportText(const QString& text)
{
    using namespace reportlabels;
    ParsedReport parsed;
    ReportFields& fields = parsed.fields;
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty()) {
        lines.removeLast();
    }
    LineReader reader(std::move(lines));
    const auto fail = [&] {
        parsed.error = reader.error();
        return parsed;
    };

    const auto name = reader.take(Student);
    if (!name) {
        return fail();
    }
    fields.pupilName = *name;
    const auto pupilClass = reader.take(Class);
    if (!pupilClass) {
        return fail();
    }
    fields.pupilClass = *pupilClass;
    const auto exercise = reader.take(Exercise);
    if (!exercise) {
        return fail();
    }
    if (!exercise->isEmpty()) {
        reader.refuseValue(QStringLiteral("jiný druh zkoušky"));
        return fail();
    }
    for (auto [label, target] : {std::pair{From, &fields.from}, std::pair{To, &fields.to}}) {
        const auto date = reader.take(label);
        if (!date) {
            return fail();
        }
        if (!isReportDate(*date)) {
            reader.refuseValue(QStringLiteral("„%1“ není datum a čas").arg(*date));
            return fail();
        }
        *target = *date;
    }
    const auto total = reader.take(Total);
    if (!total) {
        return fail();
    }
    const auto totalCount = countValue(*total);
    if (!totalCount) {
        reader.refuseValue(QStringLiteral("„%1“ není počet odpovědí").arg(*total));
        return fail();
    }
    fields.total = *totalCount;

    // A run without answers has no percentage lines.
    if (fields.total > 0) {
        for (auto [label, target] :
             {std::pair{Right, &fields.right}, std::pair{Wrong, &fields.wrong}}) {
            const auto value = reader.take(label);
            if (!value) {
                return fail();
            }
            const auto count = countWithPercent(*value);
            if (!count) {
                reader.refuseValue(QStringLiteral("„%1“ není počet s procenty").arg(*value));
                return fail();
            }
            *target = *count;
        }
        if (static_cast<qint64>(fields.right) + fields.wrong != fields.total) {
            reader.refuseValue(
                QStringLiteral("dobře a špatně nedávají dohromady %1 odpovědí").arg(fields.total));
            return fail();
        }
    }
    if (reader.linesLeft() > 0) {
        parsed.error =
            QStringLiteral("Za řádkem %1 zprávy následuje text navíc.").arg(reader.linesRead());
    }
    return parsed;
}

} // namespace voltmetr
