#include "exercise/mistakekind.h"

#include "exercise/metermodel.h"
#include "exercise/numbertext.h"

namespace voltmetr {

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
    MistakeKind found = MistakeKind::Unrecognised;
    visitMistakeValues<double>(voltage, rangeInUse, meter, [&](MistakeKind kind, double value) {
        if (!withinOnePercent(answer, value)) {
            return false;
        }
        found = kind;
        return true;
    });
    return found;
}

} // namespace voltmetr
