#include "app/procedury.h"
#include "exercise/meterface.h"
#include "exercise/scalegeometry.h"
#include "ui/twips.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <gtest/gtest.h>
#include <vector>

namespace voltmetr {
namespace {

// Four times finer than the screen: 120 divisions' ticks are three screen pixels apart.
constexpr qreal ratio = 4;

class MeterFaceDrawing : public ::testing::Test
{
protected:
    MeterFaceDrawing()
    {
        FillTables(tables);
        placeTwips(face, 120, 1620, 6135, 2985);
        image.setDevicePixelRatio(ratio);
    }

    // The colour of the rendered face at a point given in twips of the inner area.
    QColor colourAt(const QPointF& twips) const
    {
        const QPointF logical = QPointF(face.contentsRect().topLeft()) + twips / twipsPerPixel;
        const QPoint p = (logical * ratio).toPoint();
        return image.valid(p) ? image.pixelColor(p) : QColor(Qt::white);
    }
    bool inked(const QPointF& twips) const { return qGray(colourAt(twips).rgb()) < 128; }

    // The angles of the strokes met when walking along the circle of the given radius.
    std::vector<double> strokesAlong(double radius) const
    {
        std::vector<double> centres;
        double strokeStart = -1;
        for (double angle = 50; angle <= 130; angle += 0.01) {
            const bool ink = inked(scale::pointAt(static_cast<float>(angle), radius));
            if (ink && strokeStart < 0) {
                strokeStart = angle;
            } else if (!ink && strokeStart >= 0) {
                centres.push_back((strokeStart + angle - 0.01) / 2);
                strokeStart = -1;
            }
        }
        return centres;
    }

    MeterTables tables;
    MeterFace face;
    QImage image{face.size() * ratio, QImage::Format_RGB32};
};

// Every meter's face draws its scale's marks: a tick per division just outside the arc, beyond
// the short ticks only the long ones, a number above every long one; and the needle's red tip.
TEST_F(MeterFaceDrawing, EveryMeterHasATickPerDivisionAndANumberedLongOneEveryTen)
{
    for (int meterNo = 1; meterNo <= 5; ++meterNo) {
        const int n = tables.Meters[meterNo].divisions;
        face.DrawScale(tables.Meters[meterNo]);
        face.SetNeedle(55);
        face.render(&image);
        const QColor tip = colourAt(QLineF(QPointF(368, 1074), scale::pivot).pointAt(0.01));
        EXPECT_TRUE(tip.red() > 200 && tip.green() < 100) << tip.name().toStdString();
        const std::vector<double> ticks = strokesAlong(scale::arcRadius + 30);
        const std::vector<double> longTicks = strokesAlong(scale::arcRadius + 80);
        ASSERT_EQ(std::pair(ticks.size(), longTicks.size()),
                  std::pair(static_cast<std::size_t>(n + 1), static_cast<std::size_t>(n / 10 + 1)))
            << "meter " << meterNo;
        EXPECT_NEAR(longTicks[1], 55 + 700.0 / n, 0.1);
        for (int i = 0; i <= n; i += 5) {
            // A number printed in the box just above the long tick's end, or nothing.
            const QPointF anchor = scale::numberAnchor(scale::tickAngle(i, n));
            bool printed = false;
            for (double dy = 20; dy <= 160; dy += 10) {
                for (double dx = -40; dx <= 40; dx += 5) {
                    printed = printed || inked(anchor + QPointF(dx, -dy));
                }
            }
            EXPECT_EQ(printed, i % 10 == 0) << "meter " << meterNo << ", division " << i;
        }
    }
}

// A needle move repaints only strips of the face; what it leaves on screen must be exactly what
// a full repaint shows. Inside the frame only: the frame follows the window's activation, which
// the offscreen desktop changes at will.
TEST_F(MeterFaceDrawing, RepaintingTheNeedleStripsEqualsAFullRepaint)
{
    QWidget window;
    face.setParent(&window);
    window.resize(face.geometry().bottomRight().x() + 10, face.geometry().bottomRight().y() + 10);
    face.DrawScale(tables.Meters[2]);
    window.show();
    const auto onScreen = [&] {
        const QRect inner = face.contentsRect().translated(face.pos());
        return window.screen()->grabWindow(window.winId()).toImage().copy(inner);
    };
    for (const auto& [from, to] : {std::pair{55.0f, 56.0f}, std::pair{60.0f, 90.0f},
                                   std::pair{90.0f, 89.9f}, std::pair{129.0f, 51.0f}}) {
        face.SetNeedle(from);
        window.repaint();
        face.SetNeedle(to);
        QApplication::processEvents();
        const QImage afterMove = onScreen();
        face.repaint();
        EXPECT_EQ(afterMove, onScreen()) << from << " to " << to;
    }
    face.setParent(nullptr);
}

} // namespace
} // namespace voltmetr
