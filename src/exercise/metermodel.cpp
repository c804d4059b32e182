#include "exercise/metermodel.h"

#include "exercise/needlemotion.h"
#include "exercise/scalegeometry.h"

#include <algorithm>

namespace voltmetr {

int lowestUsablePosition(const MeterType& meter)
{
    return meter.rangeCount == 9 ? 1 : 2;
}

int highestUsablePosition(const MeterType& meter)
{
    return lowestUsablePosition(meter) + meter.rangeCount - 1;
}

bool isUsablePosition(const MeterType& meter, int position)
{
    return position >= lowestUsablePosition(meter) && position <= highestUsablePosition(meter);
}

bool usesEightPositionDial(const MeterType& meter)
{
    return meter.rangeCount == 8;
}

int drawnPosition(const MeterType& meter, float r)
{
    return static_cast<int>(meter.rangeCount * static_cast<double>(r)) +
           lowestUsablePosition(meter);
}

int drawnDivisions(const MeterType& meter, int position, float r)
{
    const double range = meter.ranges[position];
    const float low = static_cast<float>(range * 0.1);
    const float voltage = static_cast<float>((range - low) * static_cast<double>(r) + low);
    return static_cast<int>(meter.divisions * static_cast<double>(voltage) / range);
}

float voltageOfDivisions(const MeterType& meter, int position, int k)
{
    const double range = meter.ranges[position];
    return static_cast<float>(k * (range / meter.divisions));
}

int bestRangeFor(const MeterType& meter, int position, float voltage)
{
    int best = position;
    while (best > lowestUsablePosition(meter) && voltage < meter.ranges[best - 1]) {
        --best;
    }
    return best;
}

namespace {

float deflectionOn(const MeterType& meter, float rangeVolts, float voltage, bool polarityRight)
{
    const double deflection =
        meter.divisions * static_cast<double>(voltage) / static_cast<double>(rangeVolts);
    return static_cast<float>(polarityRight ? deflection : -deflection);
}

} // namespace

float steadyDeflection(const MeterType& meter, int position, float voltage, bool connected,
                       bool polarityRight)
{
    return connected ? deflectionOn(meter, meter.ranges[position], voltage, polarityRight) : 0;
}

float restingNeedleAngle(const MeterType& meter, float rangeVolts, float voltage,
                         bool polarityRight)
{
    NeedleMotion resting;
    resting.NeedleBase = deflectionOn(meter, rangeVolts, voltage, polarityRight);
    return std::clamp(resting.angle(meter.divisions), scale::lowerStop, scale::upperStop);
}

const MeterType* meterWithDivisions(const MeterTables& tables, int divisions)
{
    for (int meterNo = 1; meterNo <= tables.Meters.size(); ++meterNo) {
        if (tables.Meters[meterNo].divisions == divisions) {
            return &tables.Meters[meterNo];
        }
    }
    return nullptr;
}

} // namespace voltmetr
