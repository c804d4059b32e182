#include "exercise/scalegeometry.h"

#include "app/procedury.h"

#include <cmath>

namespace voltmetr::scale {

namespace {

// The face measures its angles from the pivot's left and upwards; turning by half a circle
// gives the screen's own orientation with y pointing down.
double screenRadians(float angle)
{
    return static_cast<double>(DegToRad(angle + 180.0f));
}

// Long ticks and numbers come every N / majorCount divisions, rounded.
int majorSpacing(int divisions, int majorCount)
{
    return static_cast<int>(std::lround(static_cast<double>(divisions) / majorCount));
}

} // namespace

QPointF pointAt(float angle, double radius)
{
    const double a = screenRadians(angle);
    return {pivot.x() + radius * std::cos(a), pivot.y() + radius * std::sin(a)};
}

QLineF needleAt(float angle)
{
    const double a = screenRadians(angle);
    // The tip is kept as 32-bit floats, as the needle line element always stored it.
    const auto tipX = static_cast<float>(pivot.x() + needleLength * std::cos(a));
    const auto tipY = static_cast<float>(pivot.y() + needleLength * std::sin(a));
    return {QPointF(static_cast<double>(tipX), static_cast<double>(tipY)), pivot};
}

QLineF tickAt(float angle, bool major)
{
    const double half = major ? 110.0 : 50.0;
    return {pointAt(angle, arcRadius + half), pointAt(angle, arcRadius - half)};
}

float tickAngle(int index, int divisions)
{
    const auto step = static_cast<float>(70.0 / divisions);
    return static_cast<float>(static_cast<double>(index) * static_cast<double>(step) + 55.0);
}

QPointF numberAnchor(float angle)
{
    const double a = screenRadians(angle);
    return {pivot.x() + numberRadiusX * std::cos(a), pivot.y() + numberRadiusY * std::sin(a)};
}

std::vector<ScaleMark> scaleMarks(int divisions, int majorCount)
{
    const int spacing = majorSpacing(divisions, majorCount);
    std::vector<ScaleMark> marks;
    marks.reserve(static_cast<std::size_t>(divisions) + 1);
    for (int i = 0; i <= divisions; ++i) {
        const bool major = i % spacing == 0;
        marks.push_back({tickAngle(i, divisions), major, major ? QString::number(i) : QString()});
    }
    return marks;
}

} // namespace voltmetr::scale
