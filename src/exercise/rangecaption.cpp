#include "exercise/rangecaption.h"

#include <array>
#include <charconv>
#include <string_view>

namespace voltmetr {

namespace {

class ShortestText
{
public:
    explicit ShortestText(float volts)
    {
        const auto written = std::to_chars(m_digits.data(), m_digits.data() + m_digits.size(),
                                           volts, std::chars_format::fixed);
        m_size = static_cast<std::size_t>(written.ptr - m_digits.data());
    }
    std::string_view text() const { return {m_digits.data(), m_size}; }

private:
    std::array<char, 64> m_digits{};
    std::size_t m_size = 0;
};

} // namespace

QString rangeCaption(float volts, const QLocale& locale)
{
    const ShortestText shortest(volts);
    const std::string_view digits = shortest.text();
    QString text = QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

double rangeValue(float volts)
{
    const ShortestText shortest(volts);
    const std::string_view digits = shortest.text();
    double value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

} // namespace voltmetr
