#include "exercise/needlemotion.h"

#include <cmath>

namespace voltmetr {

namespace {
// Model time per tick of the needle timer, whatever its real interval.
constexpr double TickTime = 0.04;
} // namespace

float NeedleMotion::deflection() const
{
    return static_cast<float>(static_cast<double>(NeedleBase) + NeedleOffset);
}

void NeedleMotion::startToward(float target)
{
    NeedleBase = deflection();
    // The new motion has covered nothing yet. Left at the old motion's values, the settle test
    // of the first tick would compare against a displacement of another motion and could stop
    // the needle a third of the way, whenever the two happen to lie within 0.001.
    NeedleOffset = 0;
    PrevOffset = 0;
    MotionStep = static_cast<float>(static_cast<double>(target) - NeedleBase);
    SlowCoef = static_cast<float>(MotionStep * 0.12);
    FastCoef = static_cast<float>(-(static_cast<double>(SlowCoef) + MotionStep));
    MotionTime = 0;
}

void NeedleMotion::advance()
{
    MotionTime = static_cast<float>(MotionTime + TickTime);
    const double t = MotionTime;
    NeedleOffset =
        static_cast<float>(FastCoef * std::exp(-10 * t) + MotionStep + SlowCoef * std::exp(-2 * t));
}

float NeedleMotion::angle(int divisions) const
{
    // 70 degrees of arc for N divisions, zero at 55.
    const double shown = static_cast<double>(NeedleBase) + NeedleOffset;
    return static_cast<float>(shown * 70 / divisions + 55);
}

} // namespace voltmetr
