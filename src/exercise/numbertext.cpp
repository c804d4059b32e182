#include "exercise/numbertext.h"

#include "exercise/rangecaption.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace voltmetr {

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Walks the text once with blanks, tabs and line feeds already invisible.
class NumberScanner
{
public:
    explicit NumberScanner(const QString& text) : m_text(text) { skipBlanks(); }

    QChar peek() const { return m_pos < m_text.size() ? m_text[m_pos] : QChar(); }
    void take()
    {
        ++m_pos;
        skipBlanks();
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && isSkipped(m_text[m_pos])) {
            ++m_pos;
        }
    }

    const QString& m_text;
    qsizetype m_pos = 0;
};

} // namespace

double readNumber(const QString& text)
{
    NumberScanner scan(text);
    std::string number;
    // std::from_chars takes no "+"; a plus sign only has to be stepped over.
    auto takeSign = [&] {
        if (scan.peek() == u'-') {
            number += '-';
        }
        if (scan.peek() == u'+' || scan.peek() == u'-') {
            scan.take();
        }
    };
    auto takeDigits = [&] {
        int count = 0;
        for (; isDigit(scan.peek()); ++count) {
            number += scan.peek().toLatin1();
            scan.take();
        }
        return count;
    };

    takeSign();
    int digits = takeDigits();
    if (scan.peek() == u'.') {
        number += '.';
        scan.take();
        digits += takeDigits();
    }
    if (digits == 0) {
        return 0;
    }
    const QChar marker = scan.peek().toUpper();
    if (marker == u'E' || marker == u'D') {
        const std::size_t mantissaEnd = number.size();
        number += 'e';
        scan.take();
        takeSign();
        if (takeDigits() == 0) {
            number.resize(mantissaEnd); // "2e" or "2e-" reads as 2
        }
    }
    // The same under any regional settings: strtod would follow LC_NUMERIC and stop at the
    // point under a decimal comma. A number no double can hold reads as 0, which the answer
    // refuses like any other unusable text.
    double value = 0;
    const std::from_chars_result read =
        std::from_chars(number.data(), number.data() + number.size(), value);
    return read.ec == std::errc() ? value : 0;
}

QString CommaToPoint(const QString& text)
{
    QString result = text;
    result.replace(u',', u'.');
    return result;
}

QString standardNumberText(float value)
{
    if (!std::isfinite(value)) {
        return QString::number(static_cast<double>(value));
    }
    const QString sign = value < 0 ? QStringLiteral("-") : QStringLiteral(" ");
    if (value == 0) {
        return QStringLiteral(" 0");
    }
    // "d.dddddde+XX": seven significant digits, rounded once, and the decimal exponent.
    const QString scientific = QString::number(std::fabs(static_cast<double>(value)), 'e', 6);
    const qsizetype ePos = scientific.indexOf(u'e');
    QString digits = scientific.left(ePos);
    digits.remove(u'.');
    while (digits.endsWith(u'0')) {
        digits.chop(1);
    }
    const int exponent = scientific.mid(ePos + 1).toInt();

    // Between a hundredth and ten million the number is written out; beyond that a mantissa
    // and a two-digit exponent keep the text short: "1E+07", "1.5E-03".
    if (exponent < -2 || exponent > 6) {
        QString mantissa = digits.left(1);
        if (digits.size() > 1) {
            mantissa += u'.' + digits.mid(1);
        }
        const QString exponentText =
            QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
        return sign + mantissa + (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) +
               exponentText;
    }
    if (exponent < 0) {
        return sign + u'.' + QString(-exponent - 1, u'0') + digits;
    }
    const qsizetype integerDigits = exponent + 1;
    if (digits.size() <= integerDigits) {
        return sign + digits + QString(integerDigits - digits.size(), u'0');
    }
    return sign + digits.left(integerDigits) + u'.' + digits.mid(integerDigits);
}

QString TidyNumberText(QString& text)
{
    if (text.startsWith(u' ')) {
        text.remove(0, 1);
    }
    return text.startsWith(u'.') ? u'0' + text : text;
}

WorkedCalculation workedCalculation(float taskVoltage, int divisions, float bestRangeVolts)
{
    // The needle stands on a whole division of the range the voltage was drawn on, which on a
    // smaller range is a whole multiple of the two ranges' ratio (27.5 divisions for 1.1 V on
    // 1.2 V of 30): never finer than a hundredth of a division. Below that lies only the noise
    // of the 32-bit voltage and range, which would show 0.5 V on 0.6 V as 99.99999 divisions.
    const double reading =
        std::round(divisions * static_cast<double>(taskVoltage) / bestRangeVolts * 100) / 100;
    const double voltage = reading * rangeValue(bestRangeVolts) / divisions;
    QString rangeText = standardNumberText(bestRangeVolts);
    QString divisionsText = standardNumberText(static_cast<float>(divisions));
    QString voltageText = standardNumberText(static_cast<float>(voltage));

    WorkedCalculation calculation;
    calculation.Roz = TidyNumberText(rangeText);
    calculation.Dilk = TidyNumberText(divisionsText);
    calculation.Ukaz = standardNumberText(static_cast<float>(reading));
    calculation.Souh = u'(' + calculation.Roz + QStringLiteral(" V / ") + calculation.Dilk +
                       QStringLiteral(" dílků) * ") + calculation.Ukaz + QStringLiteral(" dílků =");
    calculation.Vys = TidyNumberText(voltageText) + QStringLiteral(" V");
    return calculation;
}

QStringList workedCalculationLines(const WorkedCalculation& calculation)
{
    namespace caption = calculationCaption;
    const auto line = [](QStringView before, const QString& figure, QStringView after) {
        return before.toString() + u' ' + figure.trimmed() + u' ' + after.toString();
    };
    return {line(caption::range, calculation.Roz, caption::volts),
            line(caption::scale, calculation.Dilk, caption::divisions),
            line(caption::needle, calculation.Ukaz, caption::division),
            caption::voltage.toString() + u' ' + calculation.Souh,
            caption::equals.toString() + calculation.Vys};
}

bool isRightAnswer(double value, float taskVoltage)
{
    return withinOnePercent(value, static_cast<double>(taskVoltage));
}

} // namespace voltmetr
