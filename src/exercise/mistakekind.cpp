#include "exercise/mistakekind.h"

#include "exercise/metermodel.h"
#include "exercise/numbertext.h"

#include <initializer_list>

namespace voltmetr {

namespace {

bool equalsAnyOf(double answer, std::initializer_list<double> values)
{
    for (const double value : values) {
        if (withinOnePercent(answer, value)) {
            return true;
        }
    }
    return false;
}

} // namespace

QString mistakeKindName(MistakeKind kind)
{
    switch (kind) {
    case MistakeKind::OtherRangeScale:
        return QStringLiteral("odečteno podle jiného rozsahu");
    case MistakeKind::DivisionsOff:
        return QStringLiteral("o jeden až dva dílky vedle");
    case MistakeKind::DecimalShift:
        return QStringLiteral("posunutá desetinná čárka");
    case MistakeKind::DivisionsTyped:
        return QStringLiteral("dílky místo voltů");
    case MistakeKind::SignOrUnit:
        return QStringLiteral("záměna znaménka nebo jednotky");
    case MistakeKind::Unrecognised:
        return QStringLiteral("nerozpoznaná chyba");
    }
    return {};
}

MistakeKind mistakeKind(double answer, float voltage, const MeterType& meter, float rangeInUse)
{
    const double u = voltage;
    const double n = meter.divisions;
    const double division = rangeInUse / n; // volts of one division on the range in use
    const double divisionsShown = u / division;

    if (withinOnePercent(answer, divisionsShown)) {
        return MistakeKind::DivisionsTyped;
    }
    if (equalsAnyOf(answer, {u * 10, u * 100, u / 10, u / 100})) {
        return MistakeKind::DecimalShift;
    }
    if (equalsAnyOf(answer, {-u, u * 1000, u / 1000})) {
        return MistakeKind::SignOrUnit;
    }
    if (equalsAnyOf(answer, {u - 2 * division, u - division, u + division, u + 2 * division})) {
        return MistakeKind::DivisionsOff;
    }
    for (int position = lowestUsablePosition(meter); position <= highestUsablePosition(meter);
         ++position) {
        const double other = meter.ranges[position]; // the range in use gives a right answer
        if (withinOnePercent(answer, divisionsShown * other / n)) {
            return MistakeKind::OtherRangeScale;
        }
    }
    return MistakeKind::Unrecognised;
}

} // namespace voltmetr
