#include "report/reporttext.h"

#include "app/oledate.h"

#include <cmath>

namespace voltmetr {

namespace {

const QString lineEnd = QStringLiteral("\r\n");

// The literal text between the hours and the minutes of the locale's short time format, with
// the format's quoting undone: ":" for Czech and C, "." for Finnish, " h " for Canadian French,
// whose format reads "HH 'h' mm". A format without hours before minutes gives ":".
QString timeSeparator(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    QString separator;
    bool afterHours = false;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            if (i + 1 == format.size() || format.at(i + 1) != u'\'') {
                quoted = !quoted;
                continue;
            }
            ++i; // two quotes stand for one, inside quotes or out
        } else if (!quoted && (c == u'h' || c == u'H')) {
            afterHours = true;
            separator.clear();
            continue;
        } else if (!quoted && c == u'm' && afterHours) {
            return separator.isEmpty() ? QStringLiteral(":") : separator;
        }
        if (afterHours) {
            separator += c;
        }
    }
    return QStringLiteral(":");
}

QString formatDateTime(double oleDate, const QString& separator)
{
    const QDateTime value = fromOleDate(oleDate);
    const QDate date = value.date();
    const QTime time = value.time();
    const auto twoDigits = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); };
    return twoDigits(date.day()) + u'.' + twoDigits(date.month()) + u'.' +
           QStringLiteral("%1").arg(date.year(), 4, 10, QChar(u'0')) + u' ' +
           twoDigits(time.hour()) + separator + twoDigits(time.minute());
}

// "0.00" with the locale's decimal separator, halves rounded away from zero.
QString formatPercent(std::int32_t part, std::int64_t total, const QLocale& locale)
{
    const double percent = static_cast<double>(part) / static_cast<double>(total) * 100.0;
    // r ÷ t × 100 can land a hair below a true half (23 of 160 gives 14.374999999999998);
    // dropping what lies below a millionth of a hundredth lets that half round up as written.
    const double hundredths = std::round(percent * 1e8) / 1e6;
    const long long rounded = std::llround(hundredths);
    const long long whole = rounded / 100;
    const long long fraction = rounded % 100;
    return QString::number(whole) + locale.decimalPoint() +
           QStringLiteral("%1").arg(fraction, 2, 10, QChar(u'0'));
}

} // namespace

QString composeReportText(const ReportInputs& inputs, const QLocale& locale)
{
    const QString separator = timeSeparator(locale);
    const std::int64_t total =
        static_cast<std::int64_t>(inputs.rightCount) + static_cast<std::int64_t>(inputs.wrongCount);

    QString text;
    text += QString::fromUtf16(reportlabels::Student) + inputs.pupilName + lineEnd;
    text += QString::fromUtf16(reportlabels::Class) + inputs.pupilClass + lineEnd;
    text += QString::fromUtf16(reportlabels::Exercise) + lineEnd;
    text += QString::fromUtf16(reportlabels::From) +
            formatDateTime(inputs.startDateTime, separator) + lineEnd;
    text += QString::fromUtf16(reportlabels::To) + formatDateTime(inputs.endDateTime, separator) +
            lineEnd;
    text += QString::fromUtf16(reportlabels::Total) + QString::number(total) + lineEnd;
    if (inputs.rightCount > 0 || inputs.wrongCount > 0) {
        text += QString::fromUtf16(reportlabels::Right) + QString::number(inputs.rightCount) +
                QStringLiteral(" (") + formatPercent(inputs.rightCount, total, locale) +
                QStringLiteral("%)") + lineEnd;
        text += QString::fromUtf16(reportlabels::Wrong) + QString::number(inputs.wrongCount) +
                QStringLiteral(" (") + formatPercent(inputs.wrongCount, total, locale) +
                QStringLiteral("%)") + lineEnd;
    }
    return text;
}

} // namespace voltmetr
