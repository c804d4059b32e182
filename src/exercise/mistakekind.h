#pragma once

#include "app/runstate.h"
#include "exercise/metermodel.h"

#include <QString>
#include <initializer_list>

namespace voltmetr {

// The likeliest cause of a wrong answer, as far as the numbers show it. The numbers are what
// the school database stores.
enum class MistakeKind
{
    OtherRangeScale = 1, // the divisions read, but turned into volts with another range
    DivisionsOff = 2,    // one or two divisions beside the needle
    DecimalShift = 3,    // the right digits with the point one or two places off
    DivisionsTyped = 4,  // the divisions the needle shows, typed as volts
    SignOrUnit = 5,      // the voltage with the wrong sign, or in millivolts or kilovolts
    Unrecognised = 6,
};
inline constexpr int MistakeKindCount = 6;

// The Czech name the teacher reads.
QString mistakeKindName(MistakeKind kind);

// Hands visit the values a wrong answer on a task of `voltage` volts, read on the meter's range of
// rangeInUse volts, is compared with, each with the cause it points to, in the order the causes
// are tried: where two causes give the same number, the one that needs no knowledge of the meter
// wins, so divisions typed as volts come first, then a shifted point, then a sign or unit slip,
// then divisions beside the needle, and another range's scale last. visit answers true to stop.
// Number is double, or any type with double's arithmetic, such as a database's expression of it.
template <typename Number, typename Visit>
void visitMistakeValues(const Number& voltage, const Number& rangeInUse, const MeterType& meter,
                        Visit visit)
{
    const Number& u = voltage;
    const double n = meter.divisions;
    const Number division = rangeInUse / n; // volts of one division on the range in use
    const Number divisionsShown = u / division;
    const auto visitAll = [&](MistakeKind kind, std::initializer_list<Number> values) {
        for (const Number& value : values) {
            if (visit(kind, value)) {
                return true;
            }
        }
        return false;
    };
    if (visitAll(MistakeKind::DivisionsTyped, {divisionsShown}) ||
        visitAll(MistakeKind::DecimalShift, {u * 10.0, u * 100.0, u / 10.0, u / 100.0}) ||
        visitAll(MistakeKind::SignOrUnit, {-u, u * 1000.0, u / 1000.0}) ||
        visitAll(MistakeKind::DivisionsOff,
                 {u - 2.0 * division, u - division, u + division, u + 2.0 * division})) {
        return;
    }
    for (int position = lowestUsablePosition(meter); position <= highestUsablePosition(meter);
         ++position) {
        const double other = meter.ranges[position]; // the range in use gives a right answer
        if (visit(MistakeKind::OtherRangeScale, divisionsShown * other / n)) {
            return;
        }
    }
}

// Names the likeliest cause of the wrong answer `answer` (one more than 1 % off) on a task of
// `voltage` volts, read on the meter's range of rangeInUse volts: the first cause of
// visitMistakeValues with a value the answer equals, within the 1 % the program allows for a
// right answer.
MistakeKind mistakeKind(double answer, float voltage, const MeterType& meter, float rangeInUse);

} // namespace voltmetr
