#include "exercise/meterface.h"

#include "exercise/scalegeometry.h"
#include "ui/designelements.h"
#include "ui/twips.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace voltmetr {

namespace {

// Lines on the face are one pixel wide at any pixel ratio.
constexpr double lineWidthTwips = twipsPerPixel;

// Fonts drawn by a painter that works in twips must be fifteen times their size, so that
// their metrics come out in twips as well.
QFont twipsFont(double pointSize, bool bold)
{
    return designFont(QStringLiteral("Times New Roman"), pointSize * twipsPerPixel, bold);
}

// The destroyed-meter picture keeps its own size and is cut off by the face's edges.
constexpr QSize destroyedPictureSize{415, 229};

} // namespace

MeterFace::MeterFace(QWidget* parent) : QFrame(parent), m_needle(scale::needleAt(scale::zeroAngle))
{
    setObjectName(QStringLiteral("Stupnice"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSizeF MeterFace::innerSizeTwips() const
{
    return QSizeF(contentsRect().size()) * twipsPerPixel;
}

void MeterFace::DrawScale(const MeterType& meter)
{
    m_meter = meter;
    m_destroyed = false;
    renderFace(devicePixelRatioF());
    update();
}

void MeterFace::showDestroyedMeter()
{
    m_destroyed = true;
    renderFace(devicePixelRatioF());
    update();
}

void MeterFace::SetNeedle(float angle)
{
    const QLineF previous = m_needle;
    m_needle = scale::needleAt(angle);
    if (m_needleVisible && previous != m_needle) {
        update(needleRegion(previous) | needleRegion(m_needle));
    }
}

void MeterFace::setNeedleVisible(bool visible)
{
    if (m_needleVisible == visible) {
        return;
    }
    m_needleVisible = visible;
    update(needleRegion(m_needle));
}

void MeterFace::renderFace(qreal devicePixelRatio)
{
    const QSize inner = contentsRect().size();
    m_face = QPixmap(inner * devicePixelRatio);
    m_face.setDevicePixelRatio(devicePixelRatio);
    m_face.fill(palette().color(QPalette::Base));

    QPainter painter(&m_face);
    if (m_destroyed) {
        painter.drawPixmap(QRect(QPoint(0, 0), destroyedPictureSize),
                           QPixmap(QStringLiteral(":/pictures/destroyedmeter.png")));
        return;
    }
    if (m_meter.divisions == 0) {
        return;
    }
    useTwips(painter);
    painter.setPen(QPen(palette().color(QPalette::Text), lineWidthTwips));
    drawUnitMark(painter);

    const double radius = scale::arcRadius;
    const QRectF circle(scale::pivot.x() - radius, scale::pivot.y() - radius, 2 * radius,
                        2 * radius);
    // Qt counts angles from three o'clock, anticlockwise, in sixteenths of a degree; the
    // face's 125 degrees is Qt's 55.
    painter.drawArc(circle, 55 * 16, 70 * 16);

    painter.setFont(twipsFont(10, false));
    const int spacing = scale::majorSpacing(m_meter.divisions, m_meter.majorCount);
    for (int i = 0; i <= m_meter.divisions; ++i) {
        const float angle = scale::tickAngle(i, m_meter.divisions);
        const bool major = i % spacing == 0;
        DrawScaleTick(painter, angle, major);
        if (major) {
            PrintScaleNumber(painter, angle, i);
        }
    }
}

void MeterFace::drawUnitMark(QPainter& painter)
{
    painter.setFont(twipsFont(20, true));
    const QString mark = QStringLiteral("V");
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QSizeF inner = innerSizeTwips();
    const double x = (inner.width() - metrics.horizontalAdvance(mark)) / 2;
    const double y = inner.height() - scale::unitMarkRise;
    painter.drawText(QPointF(x, y + metrics.ascent()), mark);
}

void MeterFace::DrawScaleTick(QPainter& painter, float angle, bool major)
{
    painter.drawLine(scale::tickAt(angle, major));
}

void MeterFace::PrintScaleNumber(QPainter& painter, float angle, int number)
{
    const QString text = QString::number(number);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QPointF anchor = scale::numberAnchor(angle);
    const double x = anchor.x() - metrics.horizontalAdvance(text) / 2;
    const double y = anchor.y() - metrics.height();
    painter.drawText(QPointF(x, y + metrics.ascent()), text);
}

void MeterFace::drawNeedle(QPainter& painter) const
{
    painter.save();
    useTwips(painter);
    painter.setPen(QPen(QColor(Qt::red), lineWidthTwips));
    painter.drawLine(m_needle);
    painter.restore();
}

QRegion MeterFace::needleRegion(const QLineF& line) const
{
    const QRect inner = contentsRect();
    const QPointF origin = inner.topLeft();
    const QLineF pixels(origin + line.p1() / twipsPerPixel, origin + line.p2() / twipsPerPixel);
    // Short pieces keep the strip tight along a slanting needle.
    constexpr double piece = 12.0;
    const int pieces = std::max(1, static_cast<int>(std::ceil(pixels.length() / piece)));
    QRegion region;
    for (int i = 0; i < pieces; ++i) {
        const QPointF from = pixels.pointAt(static_cast<double>(i) / pieces);
        const QPointF to = pixels.pointAt(static_cast<double>(i + 1) / pieces);
        const QRect strip =
            QRectF(from, to).normalized().toAlignedRect().adjusted(-2, -2, 2, 2) & inner;
        if (!strip.isEmpty()) {
            region += strip;
        }
    }
    return region;
}

void MeterFace::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // A render into a finer image arrives with a scaled device transform rather than the
    // widget's own pixel ratio; the face is drawn at whichever is finer.
    const qreal ratio =
        std::max(painter.device()->devicePixelRatioF(), painter.deviceTransform().m11());
    if (m_face.isNull() || !qFuzzyCompare(m_face.devicePixelRatio(), ratio)) {
        renderFace(ratio);
    }
    const QRect inner = contentsRect();
    for (const QRect& rect : event->region()) {
        const QRect target = rect & inner;
        if (target.isEmpty()) {
            continue;
        }
        const QRectF source(QPointF(target.topLeft() - inner.topLeft()) * ratio,
                            QSizeF(target.size()) * ratio);
        painter.drawPixmap(QRectF(target), m_face, source);
    }
    painter.setClipRect(inner);
    if (m_needleVisible && !m_destroyed) {
        painter.translate(inner.topLeft());
        drawNeedle(painter);
        painter.resetTransform();
    }
    painter.setClipping(false);
    drawFrame(&painter);
}

} // namespace voltmetr
