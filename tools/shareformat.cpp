#include "shareformat.h"

namespace voltmetr::teacher {

std::optional<double> rightShare(qint64 right, qint64 wrong)
{
    if (right + wrong == 0) {
        return std::nullopt;
    }
    return static_cast<double>(right) / static_cast<double>(right + wrong);
}

QString rightShareDefinition()
{
    return QStringLiteral("Úspěšnost je podíl správných odpovědí ze všech odpovědí; zničený "
                          "měřák se počítá jako chybná odpověď, stejně jako v programu žáků.");
}

namespace {
constexpr double GoodFrom = 0.8;
constexpr double WeakBelow = 0.5;
} // namespace

ShareBand shareBand(double share)
{
    if (share >= GoodFrom) {
        return ShareBand::Good;
    }
    return share >= WeakBelow ? ShareBand::Middle : ShareBand::Weak;
}

QString shareBandText(ShareBand band, const QLocale& locale)
{
    const QString good = percentText(GoodFrom, locale, 0);
    const QString weak = percentText(WeakBelow, locale, 0);
    switch (band) {
    case ShareBand::Good:
        return QStringLiteral("od %1").arg(good);
    case ShareBand::Middle:
        return QStringLiteral("%1 až %2").arg(locale.toString(WeakBelow * 100, 'f', 0), good);
    case ShareBand::Weak:
        return QStringLiteral("pod %1").arg(weak);
    }
    return {};
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

QString shareBandColour(ShareBand band)
{
    switch (band) {
    case ShareBand::Good:
        return QStringLiteral("#2e7d32");
    case ShareBand::Middle:
        return QStringLiteral("#ef8f00");
    case ShareBand::Weak:
        return QStringLiteral("#c62828");
    }
    return {};
}

} // namespace voltmetr::teacher
