#include "shareformat.h"

namespace voltmetr::teacher {

std::optional<double> rightShare(qint64 right, qint64 wrong)
{
    if (right + wrong == 0) {
        return std::nullopt;
    }
    return static_cast<double>(right) / static_cast<double>(right + wrong);
}

QString percentText(double share, const QLocale& locale, int decimals)
{
    return locale.toString(share * 100, 'f', decimals) + QStringLiteral(" %");
}

QString rightShareText(qint64 right, qint64 wrong, const QLocale& locale, int decimals)
{
    const std::optional<double> share = rightShare(right, wrong);
    return share ? percentText(*share, locale, decimals) : QStringLiteral("–");
}

} // namespace voltmetr::teacher
