#pragma once

namespace voltmetr {

// The damped needle: a motion from NeedleBase covering MotionStep divisions,
// x(t) = FastCoef e^(-10t) + MotionStep + SlowCoef e^(-2t), which leaves without a jump,
// overshoots by about 3.7 % near t = 0.48 and creeps back. All values are in divisions and
// kept as 32-bit floats; arithmetic runs in double precision.
struct NeedleMotion
{
    float NeedleBase = 0;   // deflection the current motion started from
    float NeedleOffset = 0; // displacement covered so far
    float MotionStep = 0;   // displacement the motion covers in the end
    float SlowCoef = 0;     // 0.12 x MotionStep
    float FastCoef = 0;     // -(SlowCoef + MotionStep)
    float MotionTime = 0;   // model time, +0.04 per tick
    float PrevOffset = 0;   // NeedleOffset after the previous tick

    // The deflection the needle shows.
    float deflection() const;
    // The needle angle of that deflection on an N-division scale, from the unrounded sum.
    float angle(int divisions) const;
    // Starts a motion from where the needle stands toward target (divisions).
    void startToward(float target);
    // One tick: advances the model time and recomputes NeedleOffset.
    void advance();
};

} // namespace voltmetr
