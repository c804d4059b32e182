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
using Row = std::tuple<std::string, std::string, MessageStyle>;
Row asRow(const testing::AskedMessage& asked)
{
    return {asked.prompt.toStdString(), asked.title.toStdString(), asked.style};
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

    // A fresh task set by hand: meter, voltage, the pupil's range; forward and disconnected.
    void setTask(int meterNo, float voltage, int rangePos)
    {
        exercise.NewTask();
        exercise.MeterNo = static_cast<std::uint8_t>(meterNo);
        state.TaskVoltage = voltage;
        exercise.RangePos = static_cast<std::uint8_t>(rangePos);
        exercise.BestRange = static_cast<std::uint8_t>(
            bestRangeFor(exercise.meter(), highestUsablePosition(exercise.meter()), voltage));
        exercise.PolarityRight = true;
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

// Four draws: the meter, then the task's position, divisions and polarity, which is reversed
// from one half up. The run's counters start at zero and no meter change is announced.
TEST_F(ExerciseTest, FormLoadStartsTheRunWithAMeterAndATask)
{
    // draws (110 V on 200 V, the polarity just below one half; 22 V on 120 V, at one half);
    // MeterNo, RangePos, TaskVoltage, BestRange, PolarityRight
    for (const auto& [draws, expected] :
         {std::pair{std::array{0.1f, 0.99f, 0.5f, 0x1.fffffep-2f},
                    std::tuple{1, 1, 110.0f, 9, true}},
          std::pair{std::array{0.5f, 0.9f, 0.1f, 0.5f}, std::tuple{3, 2, 22.0f, 7, false}}}) {
        host.reseeds = 0;
        state.RightCount = 7;
        state.WrongCount = 3;
        host.queueRandom({draws[0], draws[1], draws[2], draws[3], 0.25f});
        exercise.Form_Load();
        EXPECT_EQ(std::tuple(int{exercise.MeterNo}, int{exercise.RangePos}, state.TaskVoltage,
                             int{exercise.BestRange}, exercise.PolarityRight),
                  expected);
        EXPECT_EQ(std::tuple(host.reseeds, state.RightCount, state.WrongCount, host.messages.size(),
                             host.random()),
                  std::tuple(1, 0, 0, 0u, 0.25f));
    }
}

// The meter is drawn again until it differs; the switch goes to its smallest range.
TEST_F(ExerciseTest, NewMeterNeverKeepsTheOldMeter)
{
    exercise.MeterNo = 3;
    exercise.RangePos = 5;
    host.queueRandom({0.4f, 0.5999999f, 0.6f, 0.25f});
    exercise.NewMeter();
    EXPECT_EQ(std::tuple(int{exercise.MeterNo}, int{exercise.RangePos}, host.random()),
              std::tuple(4, 2, 0.25f));
}

// 200 V on 200 V: the needle overshoots to about 127.6 degrees, short of the stop, and settles on
// full scale.
TEST_F(ExerciseTest, FullScaleSwingPeaksNear127Point6AndSettlesWithoutOverload)
{
    setTask(1, 200.0f, 9);
    exercise.Pripoj_Click();
    const auto [ticks, highest] = runMotion();
    EXPECT_NEAR(highest, 127.6f, 0.05f);
    EXPECT_NEAR(ticks, 87, 2);
    EXPECT_NEAR(exercise.needleAngle(), 125.0f, 0.01f);
}

// A needle standing still on a given deflection, connected: one tick of casovac settles it there
// and then applies the stops. The deflections are the float values on either side of where
// d x 70 / N + 55, rounded to a float, leaves 129 or 51; a pegged needle is held on its stop.
TEST_F(ExerciseTest, AStopReachedExactlyIsNoOverloadJustBeyondItPegs)
{
    // name; meter; deflection; the stop it pegs at (0: none); the deflection held after
    for (const auto& [name, meterNo, deflection, stop, held] :
         {std::tuple{"meter 1 on 129", 1, 105.71429443359375f, 0.0f, 105.71429443359375f},
          std::tuple{"meter 1 on 51", 1, -5.714288234710693f, 0.0f, -5.714288234710693f},
          std::tuple{"meter 4 past 129", 4, 31.714290618896484f, 129.0f, 31.714286f},
          std::tuple{"meter 4 past 51", 4, -1.7142865657806396f, 51.0f, -1.7142857f}}) {
        setTask(meterNo, 1.0f, 9);
        exercise.Pripoj_Click();
        exercise.motion = NeedleMotion{deflection};
        exercise.casovac_Timer();
        EXPECT_EQ(std::tuple(exercise.timers(), exercise.warningVisible(), exercise.needleAngle()),
                  std::tuple(TimerStates{false, stop != 0}, stop != 0,
                             stop != 0 ? stop : (deflection > 0 ? 129.0f : 51.0f)))
            << name;
        EXPECT_FLOAT_EQ(exercise.motion.deflection(), held) << name;
    }
}

// Any click on the circuit ends an overload without penalty: disconnected, the needle comes to
// rest exactly on zero; reversed or on the 200 V range, it runs into the other stop.
TEST_F(ExerciseTest, AnyCircuitClickEndsAnOverloadWithoutPenalty)
{
    using Click = void (*)(Exercise&);
    for (const auto& [click, end] :
         {std::pair<Click, float>{[](Exercise& e) { e.Pripoj_Click(); }, 55},
          std::pair<Click, float>{[](Exercise& e) { e.Prepoluj_Click(); }, 129},
          std::pair<Click, float>{[](Exercise& e) { e.RozLB_Click(8); }, 51}}) {
        setTask(1, 110.0f, 9);
        pegAtLowerStop();
        tickCP(10);
        click(exercise);
        EXPECT_EQ(std::tuple(exercise.timers(), int{exercise.BlinkCount}),
                  std::tuple(TimerStates{true, false}, 0))
            << end;
        runMotion();
        EXPECT_EQ(exercise.needleAngle(), end);
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
    EXPECT_TRUE(exercise.CP_Timer());
    // counted; destroyed, the needle hidden, the warning shown steadily, the timers stopped
    EXPECT_EQ(std::tuple(state.WrongCount, exercise.meterDestroyed(), exercise.needleVisible(),
                         exercise.warningVisible(), exercise.timers()),
              std::tuple(1, true, false, true, TimerStates{}));

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
    // name; tasks finished when the meter was chosen; finished at each new task; changes there
    for (const auto& [name, chosenAt, finished, changes] :
         {std::tuple{"tenth answer, a destruction in its feedback", 9, std::vector{11, 11, 12},
                     std::vector{true, false, false}},
          std::tuple{"ninth answer, tenth task destroyed in its feedback", 8, std::vector{10, 10},
                     std::vector{true, false}}}) {
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
                      changed.back() ? lowestUsablePosition(exercise.meter()) : 5)
                << name;
        }
        EXPECT_EQ(changed, changes) << name;
        EXPECT_EQ(host.messages.size(), std::ranges::count(changes, true)) << name;
        for (const testing::AskedMessage& asked : host.messages) {
            EXPECT_EQ(asRow(asked), Row("Provedl jsi 10 měření. Pozor měním měřák.", "Nový měřák",
                                        MessageStyle::OkInformation));
        }
    }
}

// The meter-change message is modal and the timers tick on behind it: the finished task's
// overload must not run on into the next task, nor keep refusing answers.
TEST_F(ExerciseTest, NewTaskEndsARunningOverload)
{
    pegAtLowerStop();
    tickCP(14); // the warning is showing
    state.RightCount = 10;
    host.whileNextMessageOpen([&] { tickCP(10); });
    exercise.NewTask();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(std::tuple(state.WrongCount, exercise.timers(), int{exercise.BlinkCount},
                         exercise.warningVisible()),
              std::tuple(0, TimerStates{}, 0, false));
}

// Each check that holds an answer back asks one message box and counts nothing.
TEST_F(ExerciseTest, EachCheckOfAnAnswerAsksItsOwnMessageBox)
{
    const Row notANumber{"Napětí bylo zadáno špatně!", "Chyba", MessageStyle::OkCritical};
    const Row rangeTooLarge{"Máš nastaven zbytečně veliký rozsah. Měření je nepřesné!",
                            "Upozornění", MessageStyle::OkInformation};
    const auto question = [](const std::string& shown) {
        return Row{"Uvedl jsi, že napětí na voltmetru je " + shown +
                       " V. \r\nJseš si opravdu jist?",
                   "Potvrzení výsledku", MessageStyle::YesNoQuestion};
    };
    // The task: meter 3, 22 V, which calls for the 24 V range on position 7.
    // name; typed; the pupil's range position; the one message asked
    for (const auto& [name, typed, rangePos, asked] :
         {std::tuple{"empty box, range too large as well", "", 8, notANumber},
          std::tuple{"zero", "0", 7, notANumber}, std::tuple{"negative", "-3", 7, notANumber},
          std::tuple{"one range above the task's", "22", 8, rangeTooLarge},
          std::tuple{"the task's range", "22", 7, question("22")},
          std::tuple{"a smaller range, disconnected", "22", 2, question("22")},
          std::tuple{"decimal comma asked back as a point", "21,5", 7, question("21.5")}}) {
        host.messages.clear();
        setTask(3, 22.0f, rangePos);
        if (std::get<2>(asked) == MessageStyle::YesNoQuestion) {
            host.answerNextMessage(MessageAnswer::No);
        }
        exercise.Contin_Click(QString::fromUtf8(typed));
        ASSERT_EQ(host.messages.size(), 1u) << name;
        EXPECT_EQ(asRow(host.messages[0]), asked) << name;
    }
    EXPECT_EQ(state.RightCount + state.WrongCount, 0);
}

// A run of three tasks on meter 1, 110 V on the 200 V position (draws 0.99, 0.5), a forward
// source first (0.2), then reversed ones (0.9). Each task ends another way.
TEST_F(ExerciseTest, EveryFinishedTaskLeavesItsRecordInTheRunsLog)
{
    double clock = 46000.5;
    const auto wait = [&](int seconds) { host.setClock(clock += seconds / 86400.0); };
    const auto answer = [&](const char* typed) {
        host.answerNextMessage(MessageAnswer::Yes);
        return exercise.Contin_Click(QString::fromUtf8(typed)).judgement.has_value();
    };
    const auto nextTask = [&] {
        host.queueRandom({0.99f, 0.5f, 0.9f});
        exercise.NewTask();
    };
    const auto destroy = [&] {
        tickCP(19);
        EXPECT_TRUE(exercise.CP_Timer());
    };
    state.TaskLog.push_back({}); // a previous run's
    host.queueRandom({0.0f, 0.99f, 0.5f, 0.2f});
    exercise.Form_Load();

    // 1: the switch moved five times (a click on the position already set is no change, nor is
    // one past the last position), reversed twice while disconnected, pegged on 0.5 V and again
    // on 1 V, read on 200 V.
    for (const int label : {7, 8, 8, 9}) {
        exercise.RozLB_Click(label);
    }
    exercise.Prepoluj_Click();
    exercise.Prepoluj_Click();
    exercise.Pripoj_Click();
    for (const int label : {0, 1, 8}) {
        exercise.RozLB_Click(label);
        runMotion();
    }
    wait(30);
    answer("110,5");
    nextTask();

    // 2: a reversed source on 0.5 V destroys the meter while the pupil confirms an answer,
    // which is dropped.
    exercise.RozLB_Click(0);
    exercise.Pripoj_Click();
    host.whileNextMessageOpen([&] {
        runMotion();
        wait(7);
        destroy();
        nextTask();
    });
    answer("110");

    // 3: answered while the needle runs to the stop, destroyed behind the feedback window.
    exercise.Pripoj_Click();
    wait(3);
    ASSERT_TRUE(answer("100"));
    runMotion();
    destroy();

    using V = TaskVerdict;
    // order, N, U, polarity right, best, in use, range changes, reversals, overloads,
    // destroyed, typed, read, verdict, seconds
    const std::vector<TaskRecord> expected = {
        {1, 100, 110, true, 200, 200, 5, 2, 2, false, u"110,5"_qs, 110.5, V::Right, 30},
        {2, 100, 110, false, 200, 0.5f, 1, 0, 1, true, u"110"_qs, 110, V::Dropped, 7},
        {3, 100, 110, false, 200, 0.5f, 0, 0, 1, true, u"100"_qs, 100, V::Wrong, 3},
    };
    std::vector<TaskRecord> logged = state.TaskLog;
    for (TaskRecord& record : logged) {
        record.seconds = std::round(record.seconds * 1000) / 1000; // the clock's rounding
    }
    EXPECT_EQ(logged, expected);
    EXPECT_EQ(state.WrongCount, 3) << "two destructions and a wrong answer";
}

} // namespace
} // namespace voltmetr
