#pragma once

#include "exercise/mistakekind.h"

namespace voltmetr::testing {

// Wrong answers and their likeliest causes, each worked by hand; meter 3's ranges run from 0.6 V
// on position 2 to 120 V on position 8. A cause explains an answer up to 1 % away, its bound
// included: 0.99 x 27.5 is 27.225.
struct MistakeCase
{
    const char* name;
    int meterNo;
    float voltage, rangeInUse;
    double answer;
    MistakeKind kind;
};

inline constexpr MistakeCase mistakeCases[] = {
    // 110 V on 200 V of 100 divisions: 55 divisions of 2 V.
    {"point one left, 20 V scale too", 1, 110.0f, 200.0f, 11.0, MistakeKind::DecimalShift},
    {"point two left", 1, 110.0f, 200.0f, 1.1, MistakeKind::DecimalShift},
    {"in kilovolts", 1, 110.0f, 200.0f, 0.11, MistakeKind::SignOrUnit},
    {"the sign, 1 % off", 1, 110.0f, 200.0f, -111.1, MistakeKind::SignOrUnit},
    {"one division above", 1, 110.0f, 200.0f, 112.0, MistakeKind::DivisionsOff},
    {"50 V scale, 1 % off", 1, 110.0f, 200.0f, 27.225, MistakeKind::OtherRangeScale},
    {"divisions, 1 % off", 1, 110.0f, 200.0f, 54.45, MistakeKind::DivisionsTyped},
    // 5.5 V on 6 V of 60 divisions: 55 divisions of 0.1 V, the voltage times ten too.
    {"divisions, point one right", 3, 5.5f, 6.0f, 55.0, MistakeKind::DivisionsTyped},
    // 22 V on 24 V of 60 divisions: 55 divisions of 0.4 V.
    {"the highest range's scale", 3, 22.0f, 24.0f, 110.0, MistakeKind::OtherRangeScale},
    {"two divisions below", 3, 22.0f, 24.0f, 21.2, MistakeKind::DivisionsOff},
    {"no range, no scale", 3, 22.0f, 24.0f, 55.0 * -1 / 60, MistakeKind::Unrecognised},
    // The 0.6 V scale as the meter holds it, 0.6000000238418579 V, 1 % up but for a billionth.
    {"the lowest range's scale, to the last digit", 3, 22.0f, 24.0f,
     1.01 * 55 * 0.6000000238418579 / 60 * (1 - 1e-9), MistakeKind::OtherRangeScale},
    // 2.5 V on 3 V of 30 divisions: 25 divisions of 0.1 V.
    {"two divisions above", 4, 2.5f, 3.0f, 2.7, MistakeKind::DivisionsOff},
    // 1.4 V on 2 V of 50 divisions: 35 divisions of 0.04 V.
    {"point two right", 5, 1.4f, 2.0f, 140.0, MistakeKind::DecimalShift},
    {"in millivolts", 5, 1.4f, 2.0f, 1400.0, MistakeKind::SignOrUnit},
    // Just beyond the bound: 1.0101 % above 54.45 is none of the causes.
    {"divisions, just over 1 % off", 1, 110.0f, 200.0f, 55.0 * 1.0101, MistakeKind::Unrecognised},
};

} // namespace voltmetr::testing
