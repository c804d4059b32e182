#include "app/procedury.h"
#include "exercise/exercise.h"
#include "exercise/metermodel.h"
#include "printers.h"
#include "support/scriptedhost.h"

#include <gtest/gtest.h>
#include <map>

namespace voltmetr {
namespace {

using ScriptedHost = voltmetr::testing::ScriptedCoreHost;

const QString MeterChangeText = QStringLiteral("Provedl jsi 10 měření. Pozor měním měřák.");
const QString MeterChangeTitle = QStringLiteral("Nový měřák");

// Draws that pick meter no (1..5) in NewMeter.
float meterDraw(int no)
{
    return (static_cast<float>(no) - 0.5f) / 5;
}

class ExerciseTest : public ::testing::Test
{
protected:
    ExerciseTest()
    {
        FillTables(state.tables);
        exercise.MeterNo = 1; // tests that set their task by hand start on meter 1
    }

    // A task set by hand: meter, voltage, the pupil's range, polarity; disconnected, at rest.
    void setTask(int meterNo, float voltage, int rangePos, bool polarityRight = true)
    {
        exercise.MeterNo = static_cast<std::uint8_t>(meterNo);
        state.TaskVoltage = voltage;
        exercise.RangePos = static_cast<std::uint8_t>(rangePos);
        exercise.BestRange = static_cast<std::uint8_t>(
            bestRangeFor(exercise.meter(), highestUsablePosition(exercise.meter()), voltage));
        exercise.PolarityRight = polarityRight;
    }

    struct MotionRun
    {
        int ticks = 0;
        float highest = 55;
        float lowest = 55;
    };
    // Ticks casovac until it stops (settled or pegged).
    MotionRun runMotion(int limit = 1000)
    {
        MotionRun run;
        while (exercise.timers().casovac && run.ticks < limit) {
            exercise.casovac_Timer();
            ++run.ticks;
            run.highest = std::max(run.highest, exercise.needleAngle());
            run.lowest = std::min(run.lowest, exercise.needleAngle());
        }
        return run;
    }

    // Connects a reversed source on a small range: the needle runs into the lower stop.
    void pegAtLowerStop()
    {
        setTask(1, 110.0f, 9, false);
        exercise.Pripoj_Click();
        runMotion();
        ASSERT_TRUE(exercise.timers().CP);
    }

    // Answers the current task right, confirming with Yes, and starts the next one, as the
    // window does after the feedback window.
    void answerRight()
    {
        exercise.RangePos = exercise.BestRange;
        host.answerNextMessage(MessageAnswer::Yes);
        const AnswerOutcome outcome =
            exercise.Contin_Click(QString::number(static_cast<double>(state.TaskVoltage)));
        ASSERT_TRUE(outcome.judgement.has_value());
        ASSERT_TRUE(outcome.judgement->right);
        exercise.NewTask();
    }

    // Leaves a pegged meter alone until the countdown destroys it, then starts the next task.
    void destroyMeter()
    {
        exercise.RangePos = static_cast<std::uint8_t>(lowestUsablePosition(exercise.meter()));
        exercise.PolarityRight = false;
        exercise.Pripoj_Click();
        runMotion();
        ASSERT_TRUE(exercise.timers().CP);
        while (!exercise.CP_Timer()) {
        }
        exercise.NewTask();
    }

    std::size_t meterChangeMessages() const
    {
        return static_cast<std::size_t>(
            std::count_if(host.messages.begin(), host.messages.end(),
                          [](const auto& m) { return m.title == MeterChangeTitle; }));
    }

    ScriptedHost host;
    Data_a_promene state;
    Exercise exercise{host, state};
};

// ---------------------------------------------------------------- start and task cycle

TEST_F(ExerciseTest, FormLoadStartsTheWorkedExamples)
{
    struct Case
    {
        const char* name;
        int meter;
        float r1, r2, r3;
        float voltage;
        int bestRange;
        int rangePos;
        bool polarityRight;
    };
    const Case cases[] = {
        {"meter 1, 110 V", 1, 0.99f, 0.5f, 0.3f, 110.0f, 9, 1, true},
        {"meter 3, 22 V", 3, 0.9f, 0.1f, 0.5f, 22.0f, 7, 2, false},
        {"meter 5, 1.4 V", 5, 0.6f, 0.05f, 0.7f, 1.4f, 4, 2, false},
    };
    for (const Case& c : cases) {
        ScriptedHost caseHost;
        Data_a_promene caseState;
        caseState.RightCount = 7;
        caseState.WrongCount = 3;
        Exercise e(caseHost, caseState);
        caseHost.queueRandom({meterDraw(c.meter), c.r1, c.r2, c.r3, 0.25f});
        e.Form_Load();

        SCOPED_TRACE(c.name);
        EXPECT_EQ(caseHost.reseeds, 1);
        EXPECT_EQ(caseState.RightCount, 0);
        EXPECT_EQ(caseState.WrongCount, 0);
        EXPECT_TRUE(caseHost.messages.empty());
        EXPECT_EQ(caseState.tables.Meters[1].divisions, 100);
        EXPECT_EQ(e.MeterNo, c.meter);
        EXPECT_FLOAT_EQ(caseState.TaskVoltage, c.voltage);
        EXPECT_EQ(e.BestRange, c.bestRange);
        EXPECT_EQ(e.RangePos, c.rangePos);
        EXPECT_EQ(e.PolarityRight, c.polarityRight);
        EXPECT_FALSE(e.Connected);
        EXPECT_EQ(e.needleAngle(), 55.0f);
        EXPECT_TRUE(e.needleVisible());
        EXPECT_EQ(e.timers(), TimerStates{});
        EXPECT_EQ(e.taskSerial(), 1u);
        EXPECT_EQ(caseHost.random(), 0.25f) << "exactly four draws: a meter and a task";
    }
}

TEST_F(ExerciseTest, NewMeterNeverKeepsTheOldMeterAndPicksTheOthersUniformly)
{
    constexpr int Draws = 4000;
    for (int old = 0; old <= 5; ++old) {
        std::map<int, int> seen;
        for (int i = 0; i < Draws; ++i) {
            exercise.MeterNo = static_cast<std::uint8_t>(old);
            exercise.NewMeter();
            ++seen[exercise.MeterNo];
            EXPECT_EQ(exercise.RangePos, lowestUsablePosition(exercise.meter()));
        }
        EXPECT_EQ(seen.count(old), 0u) << "old meter " << old;
        const int choices = old == 0 ? 5 : 4;
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(choices)) << "old meter " << old;
        for (const auto& [meterNo, count] : seen) {
            // 4000 draws over 4 or 5 meters: within 5 standard deviations of the mean.
            EXPECT_NEAR(count, Draws / choices, 150) << "old meter " << old << " new " << meterNo;
        }
    }
}

TEST_F(ExerciseTest, NewMeterRedrawsOnlyWhileItMatchesTheOldMeter)
{
    exercise.MeterNo = 2;
    host.queueRandom({meterDraw(2), meterDraw(2), meterDraw(4), 0.9f});
    exercise.NewMeter();
    EXPECT_EQ(exercise.MeterNo, 4);
    EXPECT_EQ(host.random(), 0.9f);
}

TEST_F(ExerciseTest, MeterChangesAfterEveryTenthFinishedTaskAndAlwaysSaysTen)
{
    exercise.Form_Load();
    for (int finished = 1; finished <= 25; ++finished) {
        const int meterBefore = exercise.MeterNo;
        const int rangeAnswered = exercise.BestRange; // where answerRight turns the switch
        answerRight();
        SCOPED_TRACE(::testing::Message() << "after task " << finished);
        if (finished % 10 == 0) {
            ASSERT_FALSE(host.messages.empty());
            EXPECT_EQ(host.messages.back().prompt, MeterChangeText);
            EXPECT_EQ(host.messages.back().title, MeterChangeTitle);
            EXPECT_EQ(host.messages.back().style, MessageStyle::OkInformation);
            EXPECT_NE(exercise.MeterNo, meterBefore);
            EXPECT_EQ(exercise.RangePos, lowestUsablePosition(exercise.meter()));
        } else {
            EXPECT_EQ(exercise.MeterNo, meterBefore);
            EXPECT_EQ(exercise.RangePos, rangeAnswered);
        }
        EXPECT_EQ(meterChangeMessages(), static_cast<std::size_t>(finished / 10));
    }
    EXPECT_EQ(state.RightCount, 25);
    EXPECT_EQ(exercise.taskSerial(), 26u);
}

TEST_F(ExerciseTest, TaskKeepsThePupilsRangeUnlessTheMeterChanges)
{
    exercise.Form_Load();
    const int highest = highestUsablePosition(exercise.meter());
    exercise.RozLB_Click(highest - 1);
    exercise.NewTask();
    EXPECT_EQ(exercise.RangePos, highest);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ExerciseTest, DestroyedMeterIsCountedOnceAndCountsTowardTheMeterChange)
{
    exercise.Form_Load();
    for (int i = 0; i < 9; ++i) {
        answerRight();
    }
    const int meterBefore = exercise.MeterNo;
    destroyMeter();
    EXPECT_EQ(state.WrongCount, 1);
    EXPECT_EQ(state.RightCount, 9);
    EXPECT_EQ(meterChangeMessages(), 1u);
    EXPECT_NE(exercise.MeterNo, meterBefore);
    EXPECT_FALSE(exercise.meterDestroyed());
    EXPECT_TRUE(exercise.needleVisible());
    EXPECT_FALSE(exercise.warningVisible());
}

// ---------------------------------------------------------------- needle motion

TEST_F(ExerciseTest, FullScaleSwingPeaksNear127Point6AndSettlesWithoutOverload)
{
    setTask(1, 200.0f, 9); // T = N
    exercise.Pripoj_Click();
    EXPECT_TRUE(exercise.timers().casovac);
    const MotionRun run = runMotion();
    EXPECT_NEAR(run.highest, 127.6f, 0.05f);
    EXPECT_NEAR(run.ticks, 87, 2);
    EXPECT_FALSE(exercise.timers().CP);
    EXPECT_FALSE(exercise.warningVisible());
    EXPECT_NEAR(exercise.motion.deflection(), 100.011f, 0.005f);
    EXPECT_NEAR(exercise.needleAngle(), 125.0f, 0.01f);
}

TEST_F(ExerciseTest, TargetsNearTheStopsOverloadOrNot)
{
    struct Case
    {
        const char* name;
        float voltageOverRange; // target as a share of full scale, sign from the polarity
        bool polarityRight;
        bool overload;
        float stop;
    };
    const Case cases[] = {
        {"1.01 N overshoots but stays inside", 1.01f, true, false, 0},
        {"1.03 N overloads through its overshoot", 1.03f, true, true, 129},
        {"1.05 N overloads through its overshoot", 1.05f, true, true, 129},
        {"beyond the stop", 1.5f, true, true, 129},
        {"small reversed target stays above 51", 0.03f, false, false, 0},
        {"reversed source pegs at 51", 0.5f, false, true, 51},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exercise.NewTask();
        setTask(1, 200.0f * c.voltageOverRange, 9, c.polarityRight);
        exercise.Pripoj_Click();
        runMotion();
        EXPECT_EQ(exercise.timers().CP, c.overload);
        EXPECT_FALSE(exercise.timers().casovac);
        EXPECT_EQ(exercise.warningVisible(), c.overload);
        if (c.overload) {
            EXPECT_EQ(exercise.needleAngle(), c.stop);
            EXPECT_EQ(exercise.motion.NeedleOffset, 0.0f);
            EXPECT_FLOAT_EQ(exercise.motion.NeedleBase, (c.stop - 55) / 70 * 100);
        }
    }
}

TEST_F(ExerciseTest, MotionThatSettlesDisconnectedEndsExactlyOnZero)
{
    setTask(3, 22.0f, 7);
    exercise.Pripoj_Click();
    runMotion();
    exercise.Pripoj_Click();
    EXPECT_FALSE(exercise.Connected);
    runMotion();
    EXPECT_FALSE(exercise.timers().casovac);
    EXPECT_EQ(exercise.needleAngle(), 55.0f);
}

TEST_F(ExerciseTest, DisconnectingFromTheUpperStopOvershootsBelowZeroWithoutOverload)
{
    setTask(1, 300.0f, 9);
    exercise.Pripoj_Click();
    runMotion();
    ASSERT_TRUE(exercise.timers().CP);
    for (int i = 0; i < 5; ++i) {
        exercise.CP_Timer();
    }
    exercise.Pripoj_Click();
    EXPECT_FALSE(exercise.timers().CP);
    EXPECT_EQ(exercise.BlinkCount, 0);
    EXPECT_FALSE(exercise.warningVisible());

    const MotionRun run = runMotion();
    // 3.7 % of the 74-degree step lies about 2.7 degrees below zero.
    EXPECT_NEAR(run.lowest, 55 - 0.0367f * 74, 0.05f);
    EXPECT_GT(run.lowest, 51.0f);
    EXPECT_FALSE(exercise.timers().CP);
    EXPECT_EQ(exercise.needleAngle(), 55.0f);
    EXPECT_EQ(state.WrongCount, 0);
}

TEST_F(ExerciseTest, AnyCircuitClickEndsAnOverloadWithoutPenalty)
{
    struct Case
    {
        const char* name;
        void (*click)(Exercise&);
    };
    const Case cases[] = {
        {"disconnect", [](Exercise& e) { e.Pripoj_Click(); }},
        {"reverse", [](Exercise& e) { e.Prepoluj_Click(); }},
        {"range", [](Exercise& e) { e.RozLB_Click(8); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exercise.NewTask();
        pegAtLowerStop();
        for (int i = 0; i < 10; ++i) {
            exercise.CP_Timer();
        }
        c.click(exercise);
        EXPECT_FALSE(exercise.timers().CP);
        EXPECT_TRUE(exercise.timers().casovac);
        EXPECT_EQ(exercise.BlinkCount, 0);
        EXPECT_FALSE(exercise.warningVisible());
        EXPECT_FLOAT_EQ(exercise.motion.NeedleBase, -4.0f / 70 * 100);
        EXPECT_EQ(state.WrongCount, 0);
    }
}

TEST_F(ExerciseTest, ReversingOrChangingRangeWhileDisconnectedLeavesTheNeedleAlone)
{
    setTask(1, 110.0f, 9);
    exercise.Pripoj_Click();
    runMotion();
    exercise.Pripoj_Click(); // on its way back to zero
    exercise.casovac_Timer();
    exercise.casovac_Timer();
    const NeedleMotion before = exercise.motion;
    const float angle = exercise.needleAngle();

    exercise.Prepoluj_Click();
    EXPECT_FALSE(exercise.PolarityRight);
    exercise.RozLB_Click(6);
    EXPECT_EQ(exercise.RangePos, 7);

    EXPECT_EQ(exercise.motion.MotionStep, before.MotionStep);
    EXPECT_EQ(exercise.motion.MotionTime, before.MotionTime);
    EXPECT_EQ(exercise.motion.NeedleBase, before.NeedleBase);
    EXPECT_EQ(exercise.needleAngle(), angle);
    EXPECT_TRUE(exercise.timers().casovac);
    runMotion();
    EXPECT_EQ(exercise.needleAngle(), 55.0f);
}

TEST_F(ExerciseTest, RangeClickOnAPositionWithoutARangeIsIgnored)
{
    setTask(2, 10.0f, 5); // meter 2 has ranges on positions 2..8 only
    exercise.Pripoj_Click();
    runMotion();
    const float angle = exercise.needleAngle();
    for (int index : {0, 8, -1, 9}) {
        exercise.RozLB_Click(index);
        EXPECT_EQ(exercise.RangePos, 5) << "index " << index;
        EXPECT_FALSE(exercise.timers().casovac) << "index " << index;
        EXPECT_EQ(exercise.needleAngle(), angle) << "index " << index;
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
    const double firstTickShare = probe.NeedleOffset;
    const auto rest = static_cast<float>(firstTickShare * 50 / (1 + firstTickShare));
    exercise.motion.NeedleBase = 0;
    exercise.motion.NeedleOffset = rest;
    exercise.motion.PrevOffset = rest;

    exercise.Pripoj_Click();
    const MotionRun run = runMotion();
    EXPECT_GT(run.ticks, 10);
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
    EXPECT_FALSE(exercise.meterDestroyed());

    EXPECT_TRUE(exercise.CP_Timer());
    EXPECT_EQ(state.WrongCount, 1);
    EXPECT_TRUE(exercise.meterDestroyed());
    EXPECT_FALSE(exercise.needleVisible());
    EXPECT_TRUE(exercise.warningVisible());
    EXPECT_EQ(exercise.timers(), TimerStates{});
    EXPECT_FALSE(exercise.CP_Timer()) << "a late tick destroys nothing more";
    EXPECT_EQ(state.WrongCount, 1);
}

TEST_F(ExerciseTest, NewTaskEndsARunningOverload)
{
    pegAtLowerStop();
    for (int i = 0; i < 15; ++i) {
        exercise.CP_Timer();
    }
    exercise.NewTask();
    EXPECT_EQ(exercise.timers(), TimerStates{});
    EXPECT_EQ(exercise.BlinkCount, 0);
    EXPECT_FALSE(exercise.warningVisible());
    for (int i = 0; i < 30; ++i) {
        EXPECT_FALSE(exercise.CP_Timer());
    }
    EXPECT_EQ(state.WrongCount, 0);
    EXPECT_EQ(host.beeps, 0);
    host.answerNextMessage(MessageAnswer::No);
    exercise.Contin_Click(QStringLiteral("5"));
    EXPECT_EQ(host.beeps, 0) << "answers are taken again";
}

// The meter-change message is modal and the window's timers tick on behind it; the finished
// task's overload must not run on into the next task.
TEST_F(ExerciseTest, FinishedTasksOverloadStaysQuietBehindTheMeterChangeMessage)
{
    state.RightCount = 10;
    pegAtLowerStop();
    for (int i = 0; i < 15; ++i) {
        exercise.CP_Timer();
    }
    host.whileNextMessageOpen([&] {
        for (int i = 0; i < 10; ++i) {
            EXPECT_FALSE(exercise.CP_Timer());
            exercise.casovac_Timer();
        }
    });
    exercise.NewTask();
    EXPECT_EQ(meterChangeMessages(), 1u);
    EXPECT_EQ(state.WrongCount, 0);
    EXPECT_EQ(exercise.timers(), TimerStates{});
    EXPECT_EQ(exercise.needleAngle(), 55.0f);
    EXPECT_FALSE(exercise.warningVisible());
}

TEST_F(ExerciseTest, PauseAndResumeRestoreTheTimersAndTheCountdown)
{
    pegAtLowerStop();
    for (int i = 0; i < 7; ++i) {
        exercise.CP_Timer();
    }
    const TimerStates saved = exercise.pauseTimers();
    EXPECT_EQ(saved, (TimerStates{false, true}));
    EXPECT_EQ(exercise.timers(), TimerStates{});
    EXPECT_FALSE(exercise.CP_Timer()) << "no countdown while paused";
    EXPECT_EQ(exercise.BlinkCount, 7);
    exercise.resumeTimers(saved);
    EXPECT_EQ(exercise.timers(), saved);
    for (int i = 0; i < 12; ++i) {
        EXPECT_FALSE(exercise.CP_Timer());
    }
    EXPECT_TRUE(exercise.CP_Timer()) << "the 20th tick counted over the pause";
}

TEST_F(ExerciseTest, PauseAndResumeContinueAMotionWhereItStood)
{
    setTask(1, 110.0f, 9);
    exercise.Pripoj_Click();
    for (int i = 0; i < 5; ++i) {
        exercise.casovac_Timer();
    }
    const float time = exercise.motion.MotionTime;
    const float angle = exercise.needleAngle();
    const TimerStates saved = exercise.pauseTimers();
    EXPECT_EQ(saved, (TimerStates{true, false}));
    exercise.casovac_Timer();
    EXPECT_EQ(exercise.motion.MotionTime, time);
    EXPECT_EQ(exercise.needleAngle(), angle);
    exercise.resumeTimers(saved);
    exercise.casovac_Timer();
    EXPECT_FLOAT_EQ(exercise.motion.MotionTime, time + 0.04f);

    runMotion();
    EXPECT_EQ(exercise.pauseTimers(), TimerStates{});
    exercise.resumeTimers(TimerStates{});
    EXPECT_EQ(exercise.timers(), TimerStates{});
}

// ---------------------------------------------------------------- the answer

TEST_F(ExerciseTest, AnswerChecksInTheirOrder)
{
    const QString wrongNumber = QStringLiteral("Napětí bylo zadáno špatně!");
    const QString tooLarge =
        QStringLiteral("Máš nastaven zbytečně veliký rozsah. Měření je nepřesné!");
    struct Case
    {
        const char* name;
        QString typed;
        int rangeAboveBest;
        QString prompt;
        QString title;
        MessageStyle style;
    };
    const Case cases[] = {
        {"empty", QString(), 0, wrongNumber, QStringLiteral("Chyba"), MessageStyle::OkCritical},
        {"no digits", QStringLiteral("abc"), 0, wrongNumber, QStringLiteral("Chyba"),
         MessageStyle::OkCritical},
        {"zero", QStringLiteral("0"), 0, wrongNumber, QStringLiteral("Chyba"),
         MessageStyle::OkCritical},
        {"negative", QStringLiteral("-3"), 0, wrongNumber, QStringLiteral("Chyba"),
         MessageStyle::OkCritical},
        {"too large to be a number", QStringLiteral("1e999"), 0, wrongNumber,
         QStringLiteral("Chyba"), MessageStyle::OkCritical},
        {"number checked before the range", QStringLiteral("x"), 1, wrongNumber,
         QStringLiteral("Chyba"), MessageStyle::OkCritical},
        {"range too large, reading right", QStringLiteral("22"), 1, tooLarge,
         QStringLiteral("Upozornění"), MessageStyle::OkInformation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.messages.clear();
        setTask(3, 22.0f, 7);
        exercise.RangePos = static_cast<std::uint8_t>(exercise.BestRange + c.rangeAboveBest);
        const std::uint32_t serial = exercise.taskSerial();
        const AnswerOutcome outcome = exercise.Contin_Click(c.typed);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].prompt, c.prompt);
        EXPECT_EQ(host.messages[0].title, c.title);
        EXPECT_EQ(host.messages[0].style, c.style);
        EXPECT_FALSE(outcome.judgement.has_value());
        EXPECT_EQ(outcome.shownText, c.typed);
        EXPECT_EQ(state.RightCount + state.WrongCount, 0);
        EXPECT_EQ(exercise.taskSerial(), serial);
    }
}

TEST_F(ExerciseTest, AnswerWhileOverloadedOnlyBeeps)
{
    pegAtLowerStop();
    const AnswerOutcome outcome = exercise.Contin_Click(QStringLiteral("1,5"));
    EXPECT_EQ(host.beeps, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(outcome.shownText, QStringLiteral("1,5"));
    EXPECT_FALSE(outcome.judgement.has_value());
    EXPECT_TRUE(exercise.timers().CP);
}

TEST_F(ExerciseTest, ConfirmationQuotesTheTextWithItsCommaMadeAPoint)
{
    setTask(5, 1.5f, 3); // a range below the expected one passes, even disconnected
    host.answerNextMessage(MessageAnswer::No);
    const AnswerOutcome outcome = exercise.Contin_Click(QStringLiteral("1,5"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages[0].prompt,
        QStringLiteral("Uvedl jsi, že napětí na voltmetru je 1.5 V. \r\nJseš si opravdu jist?"));
    EXPECT_EQ(host.messages[0].title, QStringLiteral("Potvrzení výsledku"));
    EXPECT_EQ(host.messages[0].style, MessageStyle::YesNoQuestion);
    EXPECT_EQ(outcome.shownText, QStringLiteral("1.5"));
    EXPECT_FALSE(outcome.judgement.has_value()) << "No leaves the task as it was";
    EXPECT_EQ(state.RightCount + state.WrongCount, 0);
    EXPECT_FLOAT_EQ(state.TaskVoltage, 1.5f);
}

TEST_F(ExerciseTest, ConfirmedAnswerIsJudgedAndCountedAtOnce)
{
    struct Case
    {
        const char* name;
        QString typed;
        bool right;
    };
    const Case cases[] = {
        {"right", QStringLiteral("101"), true},
        {"right with a comma", QStringLiteral("99,5"), true},
        {"wrong", QStringLiteral("98.9"), false},
        {"wrong above", QStringLiteral("101.1 V"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::int32_t right = state.RightCount;
        const std::int32_t wrong = state.WrongCount;
        setTask(1, 100.0f, 3); // the pupil's range is below the expected 200 V
        host.answerNextMessage(MessageAnswer::Yes);
        const AnswerOutcome outcome = exercise.Contin_Click(c.typed);
        ASSERT_TRUE(outcome.judgement.has_value());
        EXPECT_EQ(outcome.judgement->right, c.right);
        EXPECT_EQ(state.RightCount, right + (c.right ? 1 : 0));
        EXPECT_EQ(state.WrongCount, wrong + (c.right ? 0 : 1));
        if (c.right) {
            EXPECT_EQ(outcome.judgement->calculation, WorkedCalculation{});
        } else {
            // Worked on the task's range, not on the one the pupil chose.
            EXPECT_EQ(outcome.judgement->calculation.Roz, QStringLiteral("200"));
            EXPECT_EQ(outcome.judgement->calculation.Souh,
                      QStringLiteral("(200 V / 100 dílků) *  50 dílků ="));
            EXPECT_EQ(outcome.judgement->calculation.Vys, QStringLiteral("100 V"));
        }
    }
}

TEST_F(ExerciseTest, AnswerConfirmedAfterTheMeterWasDestroyedIsDropped)
{
    // The needle is still on its way to the stop when the pupil submits; while the question is
    // open it pegs, the countdown runs out and the window starts the next task.
    setTask(1, 110.0f, 9, false);
    exercise.Pripoj_Click();
    host.whileNextMessageOpen([&] {
        runMotion();
        while (!exercise.CP_Timer()) {
        }
        exercise.NewTask();
    });
    host.answerNextMessage(MessageAnswer::Yes);
    const AnswerOutcome outcome = exercise.Contin_Click(QStringLiteral("110"));

    EXPECT_FALSE(outcome.judgement.has_value());
    EXPECT_TRUE(outcome.shownText.isEmpty()) << "the new task's box starts empty";
    EXPECT_EQ(state.WrongCount, 1) << "the destruction only";
    EXPECT_EQ(state.RightCount, 0);
    EXPECT_EQ(exercise.taskSerial(), 1u);
}

} // namespace
} // namespace voltmetr
