#include "app/procedury.h"
#include "exercise/meterface.h"
#include "exercise/scalegeometry.h"
#include "ui/twips.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <gtest/gtest.h>
#include <vector>

namespace voltmetr {
namespace {

// The face is rendered four times finer than the screen, so that even the 120-division
// scale's ticks, three pixels apart on screen, come out as separate strokes.
constexpr qreal ratio = 4;

class MeterFaceDrawing : public ::testing::Test
{
protected:
    MeterFaceDrawing()
    {
        FillTables(tables);
        placeTwips(face, 120, 1620, 6135, 2985);
    }

    QImage render()
    {
        QImage image(face.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::green);
        face.render(&image);
        return image;
    }

    // The device pixel under a point given in twips of the inner area.
    QPoint pixelAt(const QPointF& twips) const
    {
        const QPointF logical = QPointF(face.contentsRect().topLeft()) + twips / twipsPerPixel;
        return (logical * ratio).toPoint();
    }

    bool inked(const QImage& image, const QPointF& twips) const
    {
        const QPoint p = pixelAt(twips);
        return image.valid(p) && qGray(image.pixel(p)) < 128;
    }

    // The angles of the strokes met when walking along the circle of the given radius.
    std::vector<double> strokesAlong(const QImage& image, double radius) const
    {
        std::vector<double> centres;
        bool inStroke = false;
        double strokeStart = 0;
        for (double angle = 50; angle <= 130; angle += 0.01) {
            const bool ink = inked(image, scale::pointAt(static_cast<float>(angle), radius));
            if (ink && !inStroke) {
                strokeStart = angle;
            } else if (!ink && inStroke) {
                centres.push_back((strokeStart + angle - 0.01) / 2);
            }
            inStroke = ink;
        }
        return centres;
    }

    // Whether anything is printed in a small box whose bottom centre is anchor.
    bool printedAt(const QImage& image, const QPointF& anchor) const
    {
        for (double dy = 20; dy <= 160; dy += 10) {
            for (double dx = -40; dx <= 40; dx += 5) {
                if (inked(image, anchor + QPointF(dx, -dy))) {
                    return true;
                }
            }
        }
        return false;
    }

    MeterTables tables;
    MeterFace face;
};

TEST_F(MeterFaceDrawing, EveryMeterHasATickPerDivisionAndALongOneEveryTen)
{
    for (int meterNo = 1; meterNo <= 5; ++meterNo) {
        const MeterType& meter = tables.Meters[meterNo];
        SCOPED_TRACE(meterNo);
        face.DrawScale(meter);
        const QImage image = render();

        // Just outside the arc every tick shows; beyond the short ticks only the long ones.
        const std::vector<double> ticks = strokesAlong(image, scale::arcRadius + 30);
        ASSERT_EQ(ticks.size(), static_cast<std::size_t>(meter.divisions + 1));
        EXPECT_NEAR(ticks.front(), 55, 0.1);
        EXPECT_NEAR(ticks.back(), 125, 0.1);

        const std::vector<double> longTicks = strokesAlong(image, scale::arcRadius + 80);
        ASSERT_EQ(longTicks.size(), static_cast<std::size_t>(meter.divisions / 10 + 1));
        for (std::size_t k = 0; k < longTicks.size(); ++k) {
            EXPECT_NEAR(longTicks[k], scale::tickAngle(static_cast<int>(k) * 10, meter.divisions),
                        0.1);
        }

        for (int i = 0; i <= meter.divisions; i += 5) {
            const bool numbered = i % 10 == 0;
            EXPECT_EQ(printedAt(image, scale::numberAnchor(scale::tickAngle(i, meter.divisions))),
                      numbered)
                << "division " << i;
        }
    }
}

TEST_F(MeterFaceDrawing, NeedleAtZeroEndsAtTheSamePlaceOnEveryMeter)
{
    for (int meterNo = 1; meterNo <= 5; ++meterNo) {
        SCOPED_TRACE(meterNo);
        face.DrawScale(tables.Meters[meterNo]);
        face.SetNeedle(55);
        EXPECT_NEAR(face.needleLine().p1().x(), 368, 1);
        EXPECT_NEAR(face.needleLine().p1().y(), 1074, 1);

        const QImage image = render();
        const QPointF nearTip = face.needleLine().pointAt(0.01);
        const QColor colour = image.pixelColor(pixelAt(nearTip));
        EXPECT_GT(colour.red(), 200);
        EXPECT_LT(colour.green(), 100);
    }
}

TEST_F(MeterFaceDrawing, DestroyedMeterReplacesTheFaceUntilTheNextScale)
{
    face.DrawScale(tables.Meters[1]);
    const QImage scaleImage = render();

    face.showDestroyedMeter();
    const QImage destroyed = render();
    EXPECT_NE(destroyed, scaleImage);
    EXPECT_TRUE(strokesAlong(destroyed, scale::arcRadius + 80).size() < 11u)
        << "the scale still shows through the destroyed meter";

    face.DrawScale(tables.Meters[1]);
    EXPECT_EQ(render(), scaleImage);
}

TEST_F(MeterFaceDrawing, HiddenNeedleLeavesTheScaleAlone)
{
    face.DrawScale(tables.Meters[2]);
    face.SetNeedle(90);
    const QImage withNeedle = render();
    face.setNeedleVisible(false);
    const QImage without = render();
    const QPoint onNeedle = pixelAt(face.needleLine().pointAt(0.2));
    EXPECT_GT(withNeedle.pixelColor(onNeedle).red(), 200);
    EXPECT_LT(withNeedle.pixelColor(onNeedle).green(), 100);
    EXPECT_EQ(without.pixelColor(onNeedle), QColor(Qt::white));
}

// A needle move repaints only strips of the face; what it leaves on screen must be exactly what
// a full repaint shows, with no trace of the needle where it stood.
TEST_F(MeterFaceDrawing, RepaintingTheNeedleStripsLeavesNoTrail)
{
    QWidget window;
    face.setParent(&window);
    window.resize(face.geometry().bottomRight().x() + 10, face.geometry().bottomRight().y() + 10);
    face.DrawScale(tables.Meters[2]);
    window.show();
    const float moves[][2] = {{55, 56}, {60, 90}, {90, 89.9f}, {125, 129}, {129, 51}};
    for (const auto& move : moves) {
        SCOPED_TRACE(move[1]);
        face.SetNeedle(move[0]);
        window.repaint();
        face.SetNeedle(move[1]);
        QApplication::processEvents();

        // What the screen holds inside the frame, against the face painted afresh. (The frame
        // itself follows the window's activation, which the offscreen desktop changes at will.)
        const QRect inner = face.contentsRect().translated(face.pos());
        auto onScreen = [&] {
            return window.screen()->grabWindow(window.winId()).toImage().copy(inner);
        };
        const QImage afterMove = onScreen();
        face.repaint();
        const QImage full = onScreen();
        EXPECT_EQ(afterMove, full);
    }
    face.setParent(nullptr);
}

} // namespace
} // namespace voltmetr
