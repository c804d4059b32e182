#include "ui/twips.h"
#include "windowtest.h"

#include <QTest>
#include <algorithm>

namespace voltmetr::testing {
namespace {

struct DialCase
{
    const char* name;
    float draw; // the random draw that picks the meter
    int meterNo;
    std::vector<int> hidden; // labels without a range
    bool eightPositions;
    QPointF smallestRangePointer;
};

TEST_F(ExerciseWindow, EachMeterLaysOutItsOwnDial)
{
    const DialCase cases[] = {
        {"meter 1, nine ranges", 0.1f, 1, {}, false, {4740, 6030}},
        {"meter 2, seven ranges", 0.3f, 2, {0, 8}, false, {4760, 5810}},
        {"meter 3, seven ranges", 0.5f, 3, {0, 8}, false, {4760, 5810}},
        {"meter 4, eight ranges", 0.7f, 4, {0}, true, {4760, 5900}},
        {"meter 5, eight ranges", 0.9f, 5, {0}, true, {4760, 5900}},
    };
    for (const DialCase& c : cases) {
        SCOPED_TRACE(c.name);
        start({{c.draw}, task110V});
        ASSERT_EQ(exercise().MeterNo, c.meterNo);
        const MeterTables& tables = state.tables;
        for (int i = 0; i < 9; ++i) {
            const bool hidden = std::find(c.hidden.begin(), c.hidden.end(), i) != c.hidden.end();
            EXPECT_EQ(rangeLabel(i).isVisible(), !hidden) << "RozLB" << i;
            const int position = i + 1;
            const QRect expected =
                c.eightPositions
                    ? twipsRect(tables.LabelLeft8[position], tables.LabelTop8[position], 270, 195)
                    : twipsRect(tables.LabelLeft9[position], tables.LabelTop9[position], 270, 195);
            EXPECT_EQ(rangeLabel(i).geometry(), expected) << "RozLB" << i;
        }
        EXPECT_EQ(window->knobPointer().p1(), c.smallestRangePointer);
        EXPECT_EQ(window->knobPointer().p2(), QPointF(5280, 6000));
    }
}

TEST_F(ExerciseWindow, RangeLabelsUseTheSystemsDecimalSeparator)
{
    start({meter1, task110V});
    window->setLocale(QLocale(QLocale::Czech));
    QStringList czech;
    for (int i = 0; i < 9; ++i) {
        czech << rangeLabel(i).text();
    }
    EXPECT_EQ(czech.join(QLatin1Char(' ')), QStringLiteral("0,5 1 2 5 10 20 50 100 200"));

    window->setLocale(QLocale::c());
    EXPECT_EQ(rangeLabel(0).text(), QStringLiteral("0.5"));
}

struct KnobCase
{
    const char* name;
    float draw;
    int labelIndex;
    QPointF pointerEnd;
};

TEST_F(ExerciseWindow, ClickingARangeLabelTurnsTheKnob)
{
    const KnobCase cases[] = {
        {"meter 1, largest range", 0.1f, 8, {5810, 6030}},
        {"meter 1, middle range", 0.1f, 4, {5280, 5460}},
        {"meter 2, largest range", 0.3f, 7, {5790, 5840}},
        {"meter 4, largest range", 0.7f, 8, {5820, 5900}},
        {"meter 5, third range", 0.9f, 3, {4960, 5580}},
    };
    for (const KnobCase& c : cases) {
        SCOPED_TRACE(c.name);
        start({{c.draw}, task110V});
        window->RozLB_Click(c.labelIndex);
        EXPECT_EQ(exercise().RangePos, c.labelIndex + 1);
        EXPECT_EQ(window->knobPointer().p1(), c.pointerEnd);
    }
}

TEST_F(ExerciseWindow, MouseClickOnARangeLabelSelectsIt)
{
    start({meter1, task110V});
    QTest::mouseClick(&rangeLabel(5), Qt::LeftButton);
    EXPECT_EQ(exercise().RangePos, 6);
}

} // namespace
} // namespace voltmetr::testing
