#include "app/procedury.h"
#include "exercise/exercise.h"
#include "exercise/metermodel.h"
#include "support/scriptedhost.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace voltmetr {
namespace {

// A message box as one row, to compare prompt, title and kind at once.
auto asRow(const testing::AskedMessage& asked)
{
    return std::tuple(asked.prompt.toStdString(), asked.title.toStdString(), asked.style);
}

class ExerciseTest : public ::testing::Test
{
protected:
    ExerciseTest()
    {
        FillTables(state.tables);
        exercise.MeterNo = 1;
        setTask(1, 110.0f, 9);
    }

    // A fresh task set by hand: meter, voltage, the pupil's range, polarity; disconnected.
    void setTask(int meterNo, float voltage, int rangePos, bool polarityRight = true)
    {
        exercise.NewTask();
        exercise.MeterNo = static_cast<std::uint8_t>(meterNo);
        state.TaskVoltage = voltage;
        exercise.RangePos = static_cast<std::uint8_t>(rangePos);
        exercise.BestRange = static_cast<std::uint8_t>(
            bestRangeFor(exercise.meter(), highestUsablePosition(exercise.meter()), voltage));
        exercise.PolarityRight = polarityRight;
    }

    // Ticks casovac until it stops (settled or pegged); returns the ticks and the highest angle.
    std::pair<int, float> runMotion()
    {
        int ticks = 0;
        float highest = 55;
        for (; exercise.timers().casovac && ticks < 1000; ++ticks) {
            exercise.casovac_Timer();
            highest = std::max(highest, exercise.needleAngle());
        }
        return {ticks, highest};
    }

    // Connects a reversed source on the smallest range: the needle runs into the lower stop.
    void pegAtLowerStop()
    {
        exercise.RangePos = static_cast<std::uint8_t>(lowestUsablePosition(exercise.meter()));
        exercise.PolarityRight = false;
        exercise.Pripoj_Click();
        runMotion();
        ASSERT_TRUE(exercise.timers().CP);
    }

    void tickCP(int ticks)
    {
        for (int i = 0; i < ticks; ++i) {
            EXPECT_FALSE(exercise.CP_Timer());
        }
    }

    testing::ScriptedCoreHost host;
    Data_a_promene state;
    Exercise exercise{host, state};
};

TEST_F(ExerciseTest, FormLoadStartsTheWorkedExamples)
{
    // The source is reversed from a third draw of one half up: 0.5 itself is reversed, the
    // float just below it is not.
    constexpr float JustBelowHalf = 0x1.fffffep-2f;
    // name; meter; draws of the position, the divisions and the polarity; voltage; BestRange;
    // PolarityRight
    for (const auto& [name, meterNo, task, voltage, bestRange, polarityRight] :
         {std::tuple{"meter 1, 200 V", 1, std::array{0.99f, 0.5f, 0.3f}, 110.0f, 9, true},
          std::tuple{"meter 3, down to 24 V", 3, std::array{0.9f, 0.1f, 0.5f}, 22.0f, 7, false},
          std::tuple{"meter 5, down to 2 V", 5, std::array{0.6f, 0.05f, 0.7f}, 1.4f, 4, false},
          std::tuple{"just below one half", 1, std::array{0.99f, 0.5f, JustBelowHalf}, 110.0f, 9,
                     true}}) {
        SCOPED_TRACE(name);
        testing::ScriptedCoreHost caseHost;
        Data_a_promene caseState;
        caseState.RightCount = 7; // left over from nothing: a run starts at zero
        caseState.WrongCount = 3;
        Exercise e(caseHost, caseState);
        caseHost.queueRandom(
            {(static_cast<float>(meterNo) - 0.5f) / 5, task[0], task[1], task[2], 0.25f});
        e.Form_Load();
        EXPECT_EQ(caseHost.reseeds, 1);
        EXPECT_EQ(std::pair(caseState.RightCount, caseState.WrongCount), std::pair(0, 0));
        EXPECT_TRUE(caseHost.messages.empty()) << "no meter change before the first task";
        EXPECT_EQ(e.MeterNo, meterNo);
        EXPECT_EQ(e.RangePos, meterNo == 1 ? 1 : 2) << "the switch on the smallest range";
        EXPECT_FLOAT_EQ(caseState.TaskVoltage, voltage);
        EXPECT_EQ(e.BestRange, bestRange);
        EXPECT_EQ(e.PolarityRight, polarityRight);
        EXPECT_EQ(caseHost.random(), 0.25f) << "exactly four draws: a meter and a task";
    }
}

// The meter is drawn again until it differs from the old one; the switch goes to its smallest
// range.
TEST_F(ExerciseTest, NewMeterNeverKeepsTheOldMeter)
{
    exercise.MeterNo = 3;
    exercise.RangePos = 5;
    host.queueRandom({0.4f, 0.5999999f, 0.6f, 0.25f});
    exercise.NewMeter();
    EXPECT_EQ(exercise.MeterNo, 4) << "draws of meter 3 twice, then one of meter 4";
    EXPECT_EQ(exercise.RangePos, 2);
    EXPECT_EQ(host.random(), 0.25f) << "no draw after the change";
}

TEST_F(ExerciseTest, FullScaleSwingPeaksNear127Point6AndSettlesWithoutOverload)
{
    setTask(1, 200.0f, 9);
    exercise.Pripoj_Click();
    const auto [ticks, highest] = runMotion();
    EXPECT_NEAR(highest, 127.6f, 0.05f);
    EXPECT_NEAR(ticks, 87, 2);
    EXPECT_FALSE(exercise.timers().CP);
    EXPECT_NEAR(exercise.needleAngle(), 125.0f, 0.01f);
}

TEST_F(ExerciseTest, TargetsNearTheStopsOverloadOrNot)
{
    // target as a share of full scale, polarity, the stop it pegs at (0: none)
    for (const auto& [share, polarityRight, stop] :
         {std::tuple{1.01f, true, 0.0f}, std::tuple{1.03f, true, 129.0f},
          std::tuple{0.03f, false, 0.0f}, std::tuple{0.5f, false, 51.0f}}) {
        SCOPED_TRACE(::testing::Message() << "share " << share << " right " << polarityRight);
        setTask(1, 200.0f * share, 9, polarityRight);
        exercise.Pripoj_Click();
        runMotion();
        EXPECT_EQ(exercise.timers(), (TimerStates{false, stop != 0}));
        if (stop != 0) {
            EXPECT_EQ(exercise.needleAngle(), stop);
            EXPECT_FLOAT_EQ(exercise.motion.deflection(), (stop - 55) / 70 * 100);
        }
    }
}

// A needle standing still on a given deflection, connected: one tick of casovac settles it
// there and then applies the stops. The deflections are the float values on either side of
// where d x 70 / N + 55, rounded to a float, leaves 129 or 51.
TEST_F(ExerciseTest, AStopReachedExactlyIsNoOverloadJustBeyondItPegs)
{
    // name; meter; deflection; the stop it pegs at (0: none); the deflection held after
    for (const auto& [name, meterNo, deflection, stop, held] :
         {std::tuple{"meter 1 on 129", 1, 105.71429443359375f, 0.0f, 105.71429443359375f},
          std::tuple{"meter 1 past 129", 1, 105.71430206298828f, 129.0f, 105.714286f},
          std::tuple{"meter 1 on 51", 1, -5.714288234710693f, 0.0f, -5.714288234710693f},
          std::tuple{"meter 1 past 51", 1, -5.714288711547852f, 51.0f, -5.7142857f},
          std::tuple{"meter 4 on 129", 4, 31.71428871154785f, 0.0f, 31.71428871154785f},
          std::tuple{"meter 4 past 129", 4, 31.714290618896484f, 129.0f, 31.714286f},
          std::tuple{"meter 4 on 51", 4, -1.71428644657135f, 0.0f, -1.71428644657135f},
          std::tuple{"meter 4 past 51", 4, -1.7142865657806396f, 51.0f, -1.7142857f}}) {
        SCOPED_TRACE(name);
        setTask(meterNo, 1.0f, 9);
        exercise.Pripoj_Click();
        exercise.motion = NeedleMotion{deflection};
        exercise.casovac_Timer();
        EXPECT_EQ(exercise.timers(), (TimerStates{false, stop != 0}));
        EXPECT_EQ(exercise.warningVisible(), stop != 0);
        EXPECT_EQ(exercise.needleAngle(), stop != 0 ? stop : (deflection > 0 ? 129.0f : 51.0f));
        EXPECT_FLOAT_EQ(exercise.motion.deflection(), held);
    }
}

// Disconnected, the needle comes to rest exactly on zero; reversed or on the 200 V range, it
// runs into the other stop.
TEST_F(ExerciseTest, AnyCircuitClickEndsAnOverloadWithoutPenalty)
{
    using Click = void (*)(Exercise&);
    for (const auto& [click, end] :
         {std::pair<Click, float>{[](Exercise& e) { e.Pripoj_Click(); }, 55},
          std::pair<Click, float>{[](Exercise& e) { e.Prepoluj_Click(); }, 129},
          std::pair<Click, float>{[](Exercise& e) { e.RozLB_Click(8); }, 51}}) {
        SCOPED_TRACE(end);
        setTask(1, 110.0f, 9);
        pegAtLowerStop();
        tickCP(10);
        click(exercise);
        EXPECT_EQ(exercise.timers(), (TimerStates{true, false}));
        EXPECT_EQ(exercise.BlinkCount, 0);
        runMotion();
        EXPECT_EQ(exercise.needleAngle(), end);
        EXPECT_EQ(state.WrongCount, 0);
    }
}

// Label i chooses position i + 1; a position without a range has no label to click.
TEST_F(ExerciseTest, ARangeLabelChoosesItsPositionAndTurnsTheNeedleWhenConnected)
{
    // name; meter; label index; position afterwards (from position 5); the needle moves
    for (const auto& [name, meterNo, index, position, moves] :
         {std::tuple{"meter 1, first label", 1, 0, 1, true},
          std::tuple{"meter 2, no range on position 1", 2, 0, 5, false},
          std::tuple{"meter 2, lowest range", 2, 1, 2, true},
          std::tuple{"meter 2, no range on position 9", 2, 8, 5, false},
          std::tuple{"meter 4, 120 V on position 9", 4, 8, 9, true}}) {
        SCOPED_TRACE(name);
        setTask(meterNo, 0.3f, 5);
        exercise.Pripoj_Click();
        runMotion();
        exercise.RozLB_Click(index);
        EXPECT_EQ(exercise.RangePos, position);
        EXPECT_EQ(exercise.timers().casovac, moves);
    }
}

// A motion that starts right after another came to rest: the first tick's displacement may
// land within 0.001 of where the previous motion ended, and the needle must still go on.
TEST_F(ExerciseTest, NewMotionIsNotMistakenForSettledByTheOldMotionsDisplacement)
{
    setTask(1, 100.0f, 9); // T = 50 divisions
    NeedleMotion probe;
    probe.startToward(1);
    probe.advance();
    const auto rest = static_cast<float>(probe.NeedleOffset * 50 / (1 + probe.NeedleOffset));
    exercise.motion.NeedleOffset = rest;
    exercise.motion.PrevOffset = rest;
    exercise.Pripoj_Click();
    exercise.casovac_Timer();
    EXPECT_TRUE(exercise.timers().casovac);
    runMotion();
    EXPECT_NEAR(exercise.motion.deflection(), 50.0f, 0.02f);
}

TEST_F(ExerciseTest, TwentiethOverloadTickDestroysTheMeterNotTheNineteenth)
{
    pegAtLowerStop();
    for (int tick = 1; tick <= 19; ++tick) {
        EXPECT_FALSE(exercise.CP_Timer()) << "tick " << tick;
        EXPECT_EQ(exercise.warningVisible(), tick % 2 == 0) << "tick " << tick;
    }
    EXPECT_EQ(state.WrongCount, 0);
    EXPECT_TRUE(exercise.CP_Timer());
    EXPECT_EQ(state.WrongCount, 1);
    EXPECT_EQ(exercise.timers(), TimerStates{});
    // destroyed, the needle hidden, the warning shown (steadily, after the twentieth tick hid it)
    EXPECT_EQ(
        std::tuple(exercise.meterDestroyed(), exercise.needleVisible(), exercise.warningVisible()),
        std::tuple(true, false, true));

    // The next task gets a whole meter, disconnected, its needle at rest on zero.
    exercise.NewTask();
    EXPECT_EQ(std::tuple(exercise.meterDestroyed(), exercise.needleVisible(),
                         exercise.warningVisible(), exercise.Connected, exercise.needleAngle(),
                         exercise.motion.deflection()),
              std::tuple(false, true, false, false, 55.0f, 0.0f));
}

// A meter destroyed behind the feedback window counts a task before the next one starts, so the
// count may pass a multiple of ten without standing on it when the meter is due.
TEST_F(ExerciseTest, MeterChangesOnceWheneverATenthTaskWasFinishedSinceItWasChosen)
{
    const testing::AskedMessage newMeter{
        QStringLiteral("Provedl jsi 10 měření. Pozor měním měřák."), QStringLiteral("Nový měřák"),
        MessageStyle::OkInformation};
    // name; tasks finished when the meter was chosen; finished at each new task; changes there
    for (const auto& [name, chosenAt, finished, changes] :
         {std::tuple{"ninth, tenth, eleventh", 8, std::vector{9, 10, 11},
                     std::vector{false, true, false}},
          std::tuple{"twentieth", 19, std::vector{20}, std::vector{true}},
          std::tuple{"tenth answer, a destruction in its feedback", 9, std::vector{11, 11, 12},
                     std::vector{true, false, false}},
          std::tuple{"ninth answer, tenth task destroyed in its feedback", 8, std::vector{10, 10},
                     std::vector{true, false}}}) {
        SCOPED_TRACE(name);
        host.messages.clear();
        state.RightCount = chosenAt;
        state.WrongCount = 0;
        exercise.NewMeter();
        std::vector<bool> changed;
        for (const int count : finished) {
            state.WrongCount = count - chosenAt;
            const std::uint8_t before = exercise.MeterNo;
            exercise.RangePos = 5; // the pupil's last range, kept unless the meter changes
            exercise.NewTask();
            changed.push_back(exercise.MeterNo != before);
            EXPECT_EQ(exercise.RangePos,
                      changed.back() ? lowestUsablePosition(exercise.meter()) : 5);
        }
        EXPECT_EQ(changed, changes);
        EXPECT_EQ(host.messages.size(), std::ranges::count(changes, true));
        for (const testing::AskedMessage& asked : host.messages) {
            EXPECT_EQ(asRow(asked), asRow(newMeter));
        }
    }
}

// The meter-change message is modal and the timers tick on behind it: the finished task's
// overload must not run on into the next task, nor keep refusing answers.
TEST_F(ExerciseTest, NewTaskEndsARunningOverload)
{
    pegAtLowerStop();
    tickCP(14); // the warning is showing
    ASSERT_TRUE(exercise.warningVisible());
    state.RightCount = 10;
    host.whileNextMessageOpen([&] { tickCP(10); });
    exercise.NewTask();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(state.WrongCount, 0);
    EXPECT_EQ(exercise.timers(), TimerStates{});
    EXPECT_EQ(exercise.BlinkCount, 0);
    EXPECT_FALSE(exercise.warningVisible());
    host.answerNextMessage(MessageAnswer::No);
    exercise.Contin_Click(QStringLiteral("5"));
    EXPECT_EQ(host.beeps, 0);
}

// Each check that holds an answer back asks one message box and leaves the task as it was.
TEST_F(ExerciseTest, EachCheckOfAnAnswerAsksItsOwnMessageBox)
{
    const testing::AskedMessage notANumber{QStringLiteral("Napětí bylo zadáno špatně!"),
                                           QStringLiteral("Chyba"), MessageStyle::OkCritical};
    const testing::AskedMessage rangeTooLarge{
        QStringLiteral("Máš nastaven zbytečně veliký rozsah. Měření je nepřesné!"),
        QStringLiteral("Upozornění"), MessageStyle::OkInformation};
    const auto question = [](const char* shown) {
        return testing::AskedMessage{
            QStringLiteral("Uvedl jsi, že napětí na voltmetru je ") + QString::fromUtf8(shown) +
                QStringLiteral(" V. \r\nJseš si opravdu jist?"),
            QStringLiteral("Potvrzení výsledku"), MessageStyle::YesNoQuestion};
    };
    // The task: meter 3, 22 V, which calls for the 24 V range on position 7.
    // name; typed; the pupil's range position; the one message asked
    for (const auto& [name, typed, rangePos, asked] :
         {std::tuple{"empty box, range too large as well", "", 8, notANumber},
          std::tuple{"no digits", "abc", 7, notANumber}, std::tuple{"zero", "0", 7, notANumber},
          std::tuple{"negative", "-3", 7, notANumber},
          std::tuple{"beyond any float", "1e999", 7, notANumber},
          std::tuple{"one range above the task's", "22", 8, rangeTooLarge},
          std::tuple{"the task's range", "22", 7, question("22")},
          std::tuple{"a smaller range, disconnected", "22", 2, question("22")},
          std::tuple{"decimal comma asked back as a point", "21,5", 7, question("21.5")}}) {
        SCOPED_TRACE(name);
        host.messages.clear();
        setTask(3, 22.0f, rangePos);
        const std::uint32_t serial = exercise.taskSerial();
        if (asked.style == MessageStyle::YesNoQuestion) {
            host.answerNextMessage(MessageAnswer::No);
        }
        EXPECT_FALSE(exercise.Contin_Click(QString::fromUtf8(typed)).judgement.has_value());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(asRow(host.messages[0]), asRow(asked));
        EXPECT_EQ(exercise.taskSerial(), serial);
    }
    EXPECT_EQ(state.RightCount + state.WrongCount, 0);
}

} // namespace

// Found by the test framework next to the record's type.
void PrintTo(const TaskRecord& r, std::ostream* out);
void PrintTo(const TaskRecord& r, std::ostream* out)
{
    *out << "{" << r.order << ", " << r.divisions << ", " << r.voltage << ", " << r.polarityRight
         << ", " << r.bestRange << ", " << r.rangeInUse << ", " << r.rangeChanges << ", "
         << r.polarityReversals << ", " << r.overloads << ", " << r.destroyed << ", "
         << (r.typed ? r.typed->toStdString() : "-") << ", "
         << (r.valueRead ? std::to_string(*r.valueRead) : "-") << ", "
         << static_cast<int>(r.verdict) << ", " << r.seconds << "}";
}

namespace {

// A run of five tasks on meter 1, each drawn from queued draws: 110 V on the 200 V position
// (r 0.99, 0.5), and 2.8 V on the 20 V position (r 0.6, 0.05: k = 14 of 0.2 V), which calls for
// the 5 V range; r3 below 0.5 is a forward source. Each task ends another way.
TEST_F(ExerciseTest, EveryFinishedTaskLeavesItsRecordInTheRunsLog)
{
    constexpr double second = 1.0 / (24 * 60 * 60);
    double clock = 46000.5;
    const auto wait = [&](int seconds) { host.setClock(clock += seconds * second); };
    const auto task110 = [&](float r3) { host.queueRandom({0.99f, 0.5f, r3}); };
    state.TaskLog.push_back({}); // a previous run's
    host.queueRandom({0.0f});    // meter 1
    task110(0.2f);
    exercise.Form_Load();

    // 1: the switch moved twice (a click on the position already set is no change, nor is one
    // past the last position), read and answered in divisions.
    exercise.RozLB_Click(7);
    exercise.RozLB_Click(8);
    exercise.RozLB_Click(8);
    exercise.RozLB_Click(9);
    exercise.Pripoj_Click();
    runMotion();
    wait(30);
    host.answerNextMessage(MessageAnswer::Yes);
    exercise.Contin_Click(QStringLiteral("55"));
    host.queueRandom({0.6f, 0.05f, 0.7f});
    exercise.NewTask();

    // 2: reversed twice while disconnected, connected reversed on 200 V, reversed back, pegged
    // on 0.5 V and again on 1 V, read on 5 V.
    exercise.Prepoluj_Click();
    exercise.Prepoluj_Click();
    exercise.Pripoj_Click();
    runMotion();
    exercise.Prepoluj_Click();
    runMotion();
    for (const int label : {0, 1}) {
        exercise.RozLB_Click(label);
        runMotion();
        ASSERT_TRUE(exercise.timers().CP);
    }
    exercise.RozLB_Click(3);
    runMotion();
    wait(45);
    host.answerNextMessage(MessageAnswer::Yes);
    exercise.Contin_Click(QStringLiteral("2,8"));
    task110(0.9f);
    exercise.NewTask();

    // 3: a reversed source connected on 0.5 V and left to destroy the meter.
    exercise.RozLB_Click(0);
    exercise.Pripoj_Click();
    runMotion();
    wait(10);
    tickCP(19);
    EXPECT_TRUE(exercise.CP_Timer());
    task110(0.9f);
    exercise.NewTask();

    // 4: the same, destroyed while the pupil confirms an answer, which is dropped.
    exercise.Pripoj_Click();
    host.whileNextMessageOpen([&] {
        runMotion();
        wait(7);
        tickCP(19);
        EXPECT_TRUE(exercise.CP_Timer());
        task110(0.9f);
        exercise.NewTask();
    });
    host.answerNextMessage(MessageAnswer::Yes);
    exercise.Contin_Click(QStringLiteral("110"));

    // 5: answered while the needle runs to the stop, destroyed behind the feedback window.
    exercise.Pripoj_Click();
    wait(3);
    host.answerNextMessage(MessageAnswer::Yes);
    ASSERT_TRUE(exercise.Contin_Click(QStringLiteral("100")).judgement.has_value());
    runMotion();
    tickCP(19);
    EXPECT_TRUE(exercise.CP_Timer());

    using V = TaskVerdict;
    // order, N, U, polarity right, best, in use, range changes, reversals, overloads,
    // destroyed, typed, read, verdict, seconds
    const std::vector<TaskRecord> expected = {
        {1, 100, 110, true, 200, 200, 2, 0, 0, false, u"55"_qs, 55, V::Wrong, 30},
        {2, 100, 2.8f, false, 5, 5, 3, 3, 2, false, u"2,8"_qs, 2.8, V::Right, 45},
        {3, 100, 110, false, 200, 0.5f, 1, 0, 1, true, std::nullopt, std::nullopt, V::Destroyed,
         10},
        {4, 100, 110, false, 200, 0.5f, 0, 0, 1, true, u"110"_qs, 110, V::Dropped, 7},
        {5, 100, 110, false, 200, 0.5f, 0, 0, 1, true, u"100"_qs, 100, V::Wrong, 3},
    };
    std::vector<TaskRecord> logged = state.TaskLog;
    for (TaskRecord& record : logged) {
        record.seconds = std::round(record.seconds * 1000) / 1000; // the clock's rounding
    }
    ASSERT_EQ(logged.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(logged[i], expected[i]) << "task " << i + 1;
    }
    EXPECT_EQ(state.WrongCount, 5) << "one answer, three destructions and one more answer";
}

} // namespace
} // namespace voltmetr
