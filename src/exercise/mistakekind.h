#pragma once

#include "app/runstate.h"

#include <QString>

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

// Names the likeliest cause of the wrong answer `answer` (one more than 1 % off) on a task of
// `voltage` volts, read on the meter's range of rangeInUse volts. An answer "equals" a value when
// it lies within the 1 % the program allows for a right answer. Where two causes give the same
// number, the one that needs no knowledge of the meter wins: divisions typed as volts first, then a
// shifted point, then a sign or unit slip, then divisions beside the needle, and another range's
// scale last.
MistakeKind mistakeKind(double answer, float voltage, const MeterType& meter, float rangeInUse);

} // namespace voltmetr
