#include "exercise/metermodel.h"

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

float steadyDeflection(const MeterType& meter, int position, float voltage, bool connected,
                       bool polarityRight)
{
    if (!connected) {
        return 0;
    }
    const double deflection = meter.divisions * static_cast<double>(voltage) /
                              static_cast<double>(meter.ranges[position]);
    return static_cast<float>(polarityRight ? deflection : -deflection);
}

} // namespace voltmetr
