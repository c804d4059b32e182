#include "app/procedury.h"
#include "exercise/exercise.h"
#include "exercise/metermodel.h"
#include "support/scriptedhost.h"

#include <array>
#include <gtest/gtest.h>
#include <tuple>

namespace voltmetr {
namespace {

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
    // meter; draws of the position, the divisions and the polarity; voltage; BestRange
    for (const auto& [meterNo, task, voltage, bestRange] :
         {std::tuple{1, std::array{0.99f, 0.5f, 0.3f}, 110.0f, 9},
          std::tuple{3, std::array{0.9f, 0.1f, 0.5f}, 22.0f, 7},
          std::tuple{5, std::array{0.6f, 0.05f, 0.7f}, 1.4f, 4}}) {
        SCOPED_TRACE(::testing::Message() << "meter " << meterNo);
        testing::ScriptedCoreHost caseHost;
        Data_a_promene caseState;
        Exercise e(caseHost, caseState);
        caseHost.queueRandom(
            {(static_cast<float>(meterNo) - 0.5f) / 5, task[0], task[1], task[2], 0.25f});
        e.Form_Load();
        EXPECT_EQ(e.MeterNo, meterNo);
        EXPECT_FLOAT_EQ(caseState.TaskVoltage, voltage);
        EXPECT_EQ(e.BestRange, bestRange);
        EXPECT_EQ(caseHost.random(), 0.25f) << "exactly four draws: a meter and a task";
    }
}

TEST_F(ExerciseTest, NewMeterNeverKeepsTheOldMeterAndPicksTheOthersUniformly)
{
    constexpr int Draws = 4000;
    for (int old = 0; old <= 5; ++old) {
        std::array<int, 6> seen{};
        for (int i = 0; i < Draws; ++i) {
            exercise.MeterNo = static_cast<std::uint8_t>(old);
            exercise.NewMeter();
            ++seen.at(exercise.MeterNo);
        }
        // Draws over 4 or 5 meters: each within 5 standard deviations of the mean.
        for (int no = 0; no <= 5; ++no) {
            const int expected = no == 0 || no == old ? 0 : Draws / (old == 0 ? 5 : 4);
            EXPECT_NEAR(seen[no], expected, expected / 6) << "old meter " << old << " new " << no;
        }
    }
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
          std::tuple{1.05f, true, 129.0f}, std::tuple{0.03f, false, 0.0f},
          std::tuple{0.5f, false, 51.0f}}) {
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

// The countdown pauses while the exercise asks whether to end, and goes on where it stood.
TEST_F(ExerciseTest, TwentiethOverloadTickDestroysTheMeterNotTheNineteenth)
{
    pegAtLowerStop();
    for (int tick = 1; tick <= 19; ++tick) {
        EXPECT_FALSE(exercise.CP_Timer()) << "tick " << tick;
        EXPECT_EQ(exercise.warningVisible(), tick % 2 == 0) << "tick " << tick;
        if (tick == 7) {
            const TimerStates saved = exercise.pauseTimers();
            EXPECT_EQ(saved, (TimerStates{false, true}));
            EXPECT_FALSE(exercise.CP_Timer()) << "no countdown while paused";
            exercise.resumeTimers(saved);
        }
    }
    EXPECT_EQ(state.WrongCount, 0);
    EXPECT_TRUE(exercise.CP_Timer());
    EXPECT_EQ(state.WrongCount, 1);
    EXPECT_EQ(exercise.timers(), TimerStates{});
    EXPECT_FALSE(exercise.CP_Timer()) << "a late tick destroys nothing more";
    EXPECT_EQ(state.WrongCount, 1);
}

// The meter-change message is modal and the timers tick on behind it: the finished task's
// overload must not run on into the next task, nor keep refusing answers.
TEST_F(ExerciseTest, NewTaskEndsARunningOverload)
{
    pegAtLowerStop();
    tickCP(15);
    state.RightCount = 10;
    host.whileNextMessageOpen([&] { tickCP(10); });
    exercise.NewTask();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(state.WrongCount, 0);
    EXPECT_EQ(exercise.timers(), TimerStates{});
    host.answerNextMessage(MessageAnswer::No);
    exercise.Contin_Click(QStringLiteral("5"));
    EXPECT_EQ(host.beeps, 0);
}

TEST_F(ExerciseTest, AnswerThatIsNoPositiveNumberIsRefused)
{
    for (const char* typed : {"", "abc", "0", "-3", "1e999"}) {
        SCOPED_TRACE(typed);
        host.messages.clear();
        setTask(3, 22.0f, 8); // the range is too large as well: the number is checked first
        const std::uint32_t serial = exercise.taskSerial();
        EXPECT_FALSE(exercise.Contin_Click(QString::fromUtf8(typed)).judgement.has_value());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].prompt, QStringLiteral("Napětí bylo zadáno špatně!"));
        EXPECT_EQ(host.messages[0].title, QStringLiteral("Chyba"));
        EXPECT_EQ(exercise.taskSerial(), serial);
    }
    EXPECT_EQ(state.RightCount + state.WrongCount, 0);
}

TEST_F(ExerciseTest, ConfirmedAnswerIsJudgedAndCountedAtOnce)
{
    for (const auto& [typed, right] : {std::pair{"99", true}, std::pair{"101,0", true},
                                       std::pair{"98.9", false}, std::pair{"101.1 V", false}}) {
        SCOPED_TRACE(typed);
        state.RightCount = state.WrongCount = 0;
        setTask(1, 100.0f, 3); // the pupil's range is below the expected 200 V
        host.answerNextMessage(MessageAnswer::Yes);
        const AnswerOutcome outcome = exercise.Contin_Click(QString::fromUtf8(typed));
        ASSERT_TRUE(outcome.judgement.has_value());
        EXPECT_EQ(outcome.judgement->right, right);
        EXPECT_EQ(std::pair(state.RightCount, state.WrongCount),
                  right ? std::pair(1, 0) : std::pair(0, 1));
        // A wrong answer is worked on the task's range, not on the one the pupil chose.
        EXPECT_EQ(outcome.judgement->calculation.Souh,
                  right ? QString() : QStringLiteral("(200 V / 100 dílků) *  50 dílků ="));
    }
}

// The needle is still on its way to the stop when the pupil submits; while the question is
// open it pegs, the countdown runs out and the window starts the next task.
TEST_F(ExerciseTest, AnswerConfirmedAfterTheMeterWasDestroyedIsDropped)
{
    setTask(1, 110.0f, 9, false);
    exercise.Pripoj_Click();
    const std::uint32_t serial = exercise.taskSerial();
    host.whileNextMessageOpen([&] {
        runMotion();
        tickCP(19);
        EXPECT_TRUE(exercise.CP_Timer());
        exercise.NewTask();
    });
    host.answerNextMessage(MessageAnswer::Yes);
    const AnswerOutcome outcome = exercise.Contin_Click(QStringLiteral("110"));
    EXPECT_FALSE(outcome.judgement.has_value());
    EXPECT_EQ(state.WrongCount, 1) << "the destruction only";
    EXPECT_EQ(exercise.taskSerial(), serial + 1);
}

} // namespace
} // namespace voltmetr
