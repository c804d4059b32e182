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
    const QLineF needle = scale::needleAt(angle);
    if (needle == m_needle) {
        return;
    }
    const QLineF previous = m_needle;
    m_needle = needle;
    if (m_needleVisible) {
        m_lastNeedleMove = needleRepaintRegion(previous, m_needle);
        update(m_lastNeedleMove);
    }
}

void MeterFace::setNeedleVisible(bool visible)
{
    if (m_needleVisible == visible) {
        return;
    }
    m_needleVisible = visible;
    update(needleRepaintRegion(m_needle, m_needle));
}

void MeterFace::renderFace(qreal devicePixelRatio)
{
    const QSize inner = contentsRect().size();
    // Opaque, so that putting a piece of it back under the needle is a plain copy.
    m_face = QImage(inner * devicePixelRatio, QImage::Format_RGB32);
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
    for (const scale::ScaleMark& mark : scale::scaleMarks(m_meter.divisions, m_meter.majorCount)) {
        DrawScaleTick(painter, mark.angle, mark.major);
        if (mark.major) {
            PrintScaleNumber(painter, mark.angle, mark.number);
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

void MeterFace::PrintScaleNumber(QPainter& painter, float angle, const QString& text)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QPointF anchor = scale::numberAnchor(angle);
    const double x = anchor.x() - metrics.horizontalAdvance(text) / 2;
    const double y = anchor.y() - metrics.height();
    painter.drawText(QPointF(x, y + metrics.ascent()), text);
}

QLineF MeterFace::visibleStretch(const QLineF& needle) const
{
    const QPointF origin = contentsRect().topLeft();
    const QLineF pixels(origin + needle.p1() / twipsPerPixel, origin + needle.p2() / twipsPerPixel);
    // The pivot lies below the face, and on its stops the tip reaches past the sides. The needle
    // is cut here, three pixels short of the frame, so that no clip ever cuts it: a clip shades the
    // end pixel differently in a full and in a partial repaint.
    const QRectF seen = QRectF(contentsRect()).adjusted(3, 3, -3, -3);
    double from = 0;
    double to = 1;
    const auto keep = [&](double start, double change, double low, double high) {
        if (change == 0) {
            return;
        }
        const double a = (low - start) / change;
        const double b = (high - start) / change;
        from = std::max(from, std::min(a, b));
        to = std::min(to, std::max(a, b));
    };
    keep(pixels.x1(), pixels.dx(), seen.left(), seen.right());
    keep(pixels.y1(), pixels.dy(), seen.top(), seen.bottom());
    return from < to ? QLineF(pixels.pointAt(from), pixels.pointAt(to)) : QLineF();
}

void MeterFace::drawNeedle(QPainter& painter) const
{
    // Drawn with a cosmetic pen: the needle moves a hundred times a second, and the thin-line
    // path is far cheaper than stroking a scaled one. A cosmetic width counts device pixels,
    // so it is one screen pixel times the pixel ratio, like the scale's lines.
    QPen pen(QColor(Qt::red), painter.deviceTransform().m11());
    pen.setCosmetic(true);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen);
    painter.drawLine(visibleStretch(m_needle));
}

void MeterFace::drawSunkenFrame(QPainter& painter) const
{
    // Filled bands rather than the style's one-pixel lines: at 150 % those lines leave a pixel
    // row between them that is neither frame nor face.
    const double edge = frameWidth();
    const double w = width();
    const double h = height();
    const QColor shade = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    painter.fillRect(QRectF(0, 0, w, edge), shade);
    painter.fillRect(QRectF(0, 0, edge, h), shade);
    painter.fillRect(QRectF(edge, h - edge, w - edge, edge), light);
    painter.fillRect(QRectF(w - edge, edge, edge, h - edge), light);
}

QRegion MeterFace::needleRepaintRegion(const QLineF& from, const QLineF& to) const
{
    const QRect inner = contentsRect();
    const QLineF a = visibleStretch(from);
    const QLineF b = visibleStretch(to);
    // The strip is cut into pieces that follow the slanting needle; each piece holds the same
    // stretch of both needles, so neighbouring positions share their rectangles. A piece costs
    // a blit of its own, so they are not made too short either.
    constexpr double piece = 100.0;
    const int pieces =
        std::max(1, static_cast<int>(std::ceil(std::max(a.length(), b.length()) / piece)));
    QRegion region;
    for (int i = 0; i < pieces; ++i) {
        const double start = static_cast<double>(i) / pieces;
        const double end = static_cast<double>(i + 1) / pieces;
        const QRectF stretch = QRectF(a.pointAt(start), a.pointAt(end)).normalized() |
                               QRectF(b.pointAt(start), b.pointAt(end)).normalized();
        const QRect strip = stretch.toAlignedRect().adjusted(-2, -2, 2, 2) & inner;
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
        const QRect source(QPointF(QPointF(target.topLeft() - inner.topLeft()) * ratio).toPoint(),
                           QSizeF(QSizeF(target.size()) * ratio).toSize());
        painter.drawImage(target.topLeft(), m_face, source);
    }
    if (m_needleVisible && !m_destroyed) {
        // The needle's antialiasing must not reach the frame: its lines lie on pixel edges and
        // would come out half on the face and half off it, blended with what lies beside.
        painter.save();
        drawNeedle(painter);
        painter.restore();
    }
    // A needle move repaints strips inside the face only and leaves the frame alone.
    if (!inner.contains(event->region().boundingRect())) {
        drawSunkenFrame(painter);
    }
}

} // namespace voltmetr
