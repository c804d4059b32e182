#include "report/reportfields.h"

#include "report/reporttext.h"

#include <QRegularExpression>
#include <QStringList>
#include <optional>

namespace voltmetr {

namespace {

// "dd.mm.yyyy hh:mm"; the time separator is whatever the pupil's regional settings use: ":",
// ".", " h " under Canadian French, a word of question marks where the pupil's script has no
// letters in the report's code page.
const QRegularExpression& reportDateShape()
{
    static const QRegularExpression date(
        QStringLiteral(R"(^(\d\d)\.(\d\d)\.(\d\d\d\d) (\d\d)\D+(\d\d)$)"));
    return date;
}

bool isReportDate(const QString& value)
{
    return reportDateShape().match(value).hasMatch();
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

// Reads the report line by line. The first fault is kept: later reads give nothing, so the
// teacher is told about the line where the report went wrong.
class LineReader
{
public:
    explicit LineReader(QStringList lines) : m_lines(std::move(lines)) {}

    // The value after label on the next line, converted; nothing when the line does not start
    // with label or convert refuses the rest (what names what was expected there).
    template <typename Convert>
    auto take(const char16_t* label, Convert convert, const QString& what)
        -> decltype(convert(QString()))
    {
        if (!m_error.isEmpty()) {
            return std::nullopt;
        }
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
        const QString value = line.mid(expected.size());
        auto converted = convert(value);
        if (!converted) {
            refuse(QStringLiteral("„%1“ není %2").arg(value, what));
        }
        return converted;
    }

    void refuse(const QString& what)
    {
        if (m_error.isEmpty()) {
            m_error = QStringLiteral("Řádek %1 zprávy: %2.").arg(m_next).arg(what);
        }
    }

    void expectEnd()
    {
        if (m_error.isEmpty() && m_next < m_lines.size()) {
            m_error = QStringLiteral("Za řádkem %1 zprávy následuje text navíc.").arg(m_next);
        }
    }

    const QString& error() const { return m_error; }

private:
    QStringList m_lines;
    qsizetype m_next = 0;
    QString m_error;
};

std::optional<QString> anyText(const QString& value)
{
    return value;
}

std::optional<QString> reportDate(const QString& value)
{
    return isReportDate(value) ? std::optional(value) : std::nullopt;
}

std::optional<bool> nothingMore(const QString& value)
{
    return value.isEmpty() ? std::optional(true) : std::nullopt;
}

} // namespace

std::optional<QDateTime> reportDateTime(const QString& value)
{
    const QRegularExpressionMatch match = reportDateShape().match(value);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const auto number = [&](int group) { return match.capturedView(group).toInt(); };
    const QDate date(number(3), number(2), number(1));
    const QTime time(number(4), number(5));
    if (!date.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    return QDateTime(date, time);
}

ParsedReport parseReportText(const QString& text)
{
    using namespace reportlabels;
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty()) {
        lines.removeLast();
    }
    LineReader reader(std::move(lines));
    const QString dateTime = QStringLiteral("datum a čas");
    const QString withPercent = QStringLiteral("počet s procenty");

    const auto name = reader.take(Student, anyText, {});
    const auto pupilClass = reader.take(Class, anyText, {});
    reader.take(Exercise, nothingMore, QStringLiteral("konec řádku"));
    const auto from = reader.take(From, reportDate, dateTime);
    const auto to = reader.take(To, reportDate, dateTime);
    const auto total = reader.take(Total, countValue, QStringLiteral("počet odpovědí"));
    std::optional<int> right = 0;
    std::optional<int> wrong = 0;
    // A run without answers has no percentage lines.
    if (total.value_or(0) > 0) {
        right = reader.take(Right, countWithPercent, withPercent);
        wrong = reader.take(Wrong, countWithPercent, withPercent);
        if (right && wrong && static_cast<qint64>(*right) + *wrong != *total) {
            reader.refuse(
                QStringLiteral("dobře a špatně nedávají dohromady %1 odpovědí").arg(*total));
        }
    }
    reader.expectEnd();

    ParsedReport parsed;
    parsed.error = reader.error();
    if (parsed.ok()) {
        parsed.fields = {*name, *pupilClass, *from, *to, *total, *right, *wrong};
    }
    return parsed;
}

} // namespace voltmetr
