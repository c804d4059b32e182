#include "exercise/rangecaption.h"

#include <array>
#include <charconv>

namespace voltmetr {

QString rangeCaption(float volts, const QLocale& locale)
{
    std::array<char, 32> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), volts,
                                      std::chars_format::fixed);
    QString text = QString::fromLatin1(digits.data(), result.ptr - digits.data());
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

} // namespace voltmetr
