#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <algorithm>

namespace voltmetr {

// Reads a number the forgiving way the answer box always has: blanks, tabs and line feeds are
// skipped anywhere; then an optional sign, digits with at most one point, and an optional
// exponent (E or D, optional sign, digits). Reading stops silently at the first character that
// does not fit; a text without digits reads as 0. "12.5 V" is 12.5, "1.5.3" is 1.5. The point
// is the separator under any regional settings; a number beyond a double's range reads as 0.
double readNumber(const QString& text);

// Every "," becomes ".", so a decimal comma is accepted.
QString CommaToPoint(const QString& text);

// The standard text of a 32-bit float: up to 7 significant digits, "." as the separator, no
// zero before the point below 1, a leading blank for values of zero and above, "-" for
// negative ones. One half gives " .5", 55 gives " 55".
QString standardNumberText(float value);

// Drops one leading blank from text (in place), then returns it with "0" put before a leading
// ".": " .5" becomes "0.5" (text becomes ".5"), " 12" becomes "12".
QString TidyNumberText(QString& text);

// The worked calculation shown after a wrong answer.
struct WorkedCalculation
{
    QString Roz;  // the range in volts
    QString Dilk; // the scale's divisions
    QString Ukaz; // the reading in divisions, with its leading blank
    QString Souh; // "(200 V / 100 dílků) *  55 dílků ="
    QString Vys;  // "110 V"

    friend bool operator==(const WorkedCalculation&, const WorkedCalculation&) = default;
};

// The words around the calculation's figures, as the pupil reads them after a wrong answer.
namespace calculationCaption {
inline constexpr QStringView range = u"Rozsah:";
inline constexpr QStringView volts = u"V";
inline constexpr QStringView scale = u"Stupnice má:";
inline constexpr QStringView divisions = u"dílků";
inline constexpr QStringView needle = u"Ručička ukazuje na:";
inline constexpr QStringView division = u"dílek";
inline constexpr QStringView voltage = u"Měřené napětí je:";
inline constexpr QStringView equals = u"=  ";
} // namespace calculationCaption

// The calculation as lines of text, each figure with its captions: "Rozsah: 200 V", ...,
// "Měřené napětí je: (200 V / 100 dílků) *  55 dílků =", "=  110 V".
QStringList workedCalculationLines(const WorkedCalculation& calculation);

// The calculation for a task of taskVoltage on a meter of the given divisions, read on the
// range of bestRangeVolts, in the decimals the pupil sees on the meter: 0.5 V on 0.6 V of 120
// divisions is 100 divisions, not the 99.99999 of the 32-bit values.
WorkedCalculation workedCalculation(float taskVoltage, int divisions, float bestRangeVolts);

// Whether value lies from the lower to the higher of two bounds, both included.
inline bool betweenBounds(double value, double bound, double otherBound)
{
    return value >= std::min(bound, otherBound) && value <= std::max(bound, otherBound);
}

// The one tolerance of the exercise: value lies within 1 % of expected. The bounds are
// (1 - 1/100) and (1 + 1/100) times expected, formed in double precision, and a value on a
// bound is within; for a negative expected the two bounds swap places. Number is double, or any
// type with the same arithmetic and its own betweenBounds, such as a database's expression of it.
template <typename Number> auto withinOnePercent(const Number& value, const Number& expected)
{
    return betweenBounds(value, (1 - 1.0 / 100) * expected, (1 + 1.0 / 100) * expected);
}

// A right answer lies within 1 % of the task's voltage, widened from its 32-bit value.
bool isRightAnswer(double value, float taskVoltage);

} // namespace voltmetr
