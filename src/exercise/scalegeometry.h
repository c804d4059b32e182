#pragma once

#include <QLineF>
#include <QPointF>
#include <QString>
#include <vector>

namespace voltmetr {

// The geometry of the meter face in twips of the face's inner area, x to the right and y
// downwards. Angles are in degrees and run like the needle: 55 is the scale's zero (upper
// left), 90 straight up, 125 full scale.
namespace scale {

// The needle's pivot lies below the face's bottom edge, so only the upper part of the needle
// is ever seen.
inline constexpr QPointF pivot{3092.5, 4965.0};
inline constexpr double arcRadius = 4500.0;
inline constexpr double needleLength = 4750.0;
inline constexpr float zeroAngle = 55.0f;
inline constexpr float fullScaleAngle = 125.0f;
// The needle's mechanical stops: 4 degrees beyond either end of the 70-degree arc.
inline constexpr float lowerStop = 51.0f;
inline constexpr float upperStop = 129.0f;
// The numbers sit just outside the long ticks, on two different radii across and up.
inline constexpr double numberRadiusX = 4660.0;
inline constexpr double numberRadiusY = 4630.0;
// The unit mark's top lies this far above the face's bottom edge.
inline constexpr double unitMarkRise = 1250.0;

// The point at angle and radius from the pivot.
QPointF pointAt(float angle, double radius);

// The needle from its tip to the pivot.
QLineF needleAt(float angle);

// A radial tick across the arc: long ticks reach 110 twips either side, short ones 50.
QLineF tickAt(float angle, bool major);

// The angle of every tick of an N-division scale, 0..N, spaced 70 / N degrees as 32-bit
// floats, so the last one lands on 125.
float tickAngle(int index, int divisions);

// Where the bottom centre of a scale number goes.
QPointF numberAnchor(float angle);

// One tick of the scale, from zero to full scale.
struct ScaleMark
{
    float angle = 0;
    bool major = false;
    QString number; // on a long tick, the division count it marks; empty on a short one

    friend bool operator==(const ScaleMark&, const ScaleMark&) = default;
};

// The ticks of an N-division scale in order, 0..N: every one at tickAngle, a long numbered one
// every N / majorCount divisions, rounded. The numbers count divisions, not volts, whatever the
// range.
std::vector<ScaleMark> scaleMarks(int divisions, int majorCount);

} // namespace scale
} // namespace voltmetr
