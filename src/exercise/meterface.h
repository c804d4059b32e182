#pragma once

#include "app/runstate.h"

#include <QFrame>
#include <QImage>
#include <QLineF>
#include <QRegion>
#include <QSize>

namespace voltmetr {

// The face's size in the exercise window, in twips.
inline constexpr QSize meterFaceTwips{6135, 2985};

// The meter face: the scale of the current meter, drawn once per task into a cached image
// sized for the screen's pixel ratio, with the red needle drawn over it. Moving the needle
// repaints only the strips that the old and the new needle cover.
class MeterFace : public QFrame
{
    Q_OBJECT
public:
    explicit MeterFace(QWidget* parent = nullptr);

    // Clears the face, including a destroyed-meter picture, and draws the scale of meter.
    void DrawScale(const MeterType& meter);
    // Points the needle at angle (degrees, 55 the scale's zero).
    void SetNeedle(float angle);
    void setNeedleVisible(bool visible);
    // The face becomes the picture of the destroyed meter until the next DrawScale.
    void showDestroyedMeter();

    bool showsDestroyedMeter() const { return m_destroyed; }
    // The widget pixels the last move of the visible needle repainted.
    QRegion lastNeedleMove() const { return m_lastNeedleMove; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The inner drawing area in twips.
    QSizeF innerSizeTwips() const;
    void renderFace(qreal devicePixelRatio);
    void DrawScaleTick(QPainter& painter, float angle, bool major);
    void PrintScaleNumber(QPainter& painter, float angle, const QString& text);
    void drawUnitMark(QPainter& painter);
    void drawNeedle(QPainter& painter) const;
    // The sunken panel around the face: dark above and left, light below and right.
    void drawSunkenFrame(QPainter& painter) const;
    // The widget pixels a move of the needle between two positions (twips) repaints.
    QRegion needleRepaintRegion(const QLineF& from, const QLineF& to) const;
    // The part of a needle (twips of the inner area) that shows, in the widget's pixels.
    QLineF visibleStretch(const QLineF& needle) const;

    MeterType m_meter;
    bool m_destroyed = false;
    bool m_needleVisible = true;
    QLineF m_needle;
    QImage m_face;
    QRegion m_lastNeedleMove;
};

} // namespace voltmetr
