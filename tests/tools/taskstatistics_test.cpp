#include "taskstatistics.h"

#include <gtest/gtest.h>
#include <utility>

namespace voltmetr {
namespace {

// A task adds to the right share what it added to its run's counts: a destroyed meter is a wrong
// answer of its own, also when it broke after the task's answer had been judged.
TEST(TaskStatistics, ATaskAddsTheAnswersItsRunCounted)
{
    using V = TaskVerdict;
    const struct
    {
        const char* name;
        V verdict;
        bool destroyed;
        qint64 right, all;
    } cases[] = {
        {"a right answer", V::Right, false, 1, 1},
        {"a wrong answer", V::Wrong, false, 0, 1},
        {"destroyed before an answer", V::Destroyed, true, 0, 1},
        {"an answer dropped as the meter broke", V::Dropped, true, 0, 1},
        {"a right answer, then destroyed", V::Right, true, 1, 2},
        {"a wrong answer, then destroyed", V::Wrong, true, 0, 2},
    };
    for (const auto& c : cases) {
        TaskRecord task;
        task.verdict = c.verdict;
        task.destroyed = c.destroyed;
        const teacher::Share answers = teacher::answersOf(task);
        EXPECT_EQ(std::pair(answers.right, answers.all), std::pair(c.right, c.all)) << c.name;
    }
}

// The cause a teacher reads first: the most wrong answers, the earlier cause on a tie.
TEST(TaskStatistics, TheMostFrequentMistakeIsTheCauseOfMostWrongAnswers)
{
    using K = MistakeKind;
    const struct
    {
        const char* name;
        std::array<qint64, MistakeKindCount> mistakes;
        std::optional<K> most;
    } cases[] = {
        {"no wrong answer logged", {}, std::nullopt},
        {"one cause only, the last", {0, 0, 0, 0, 0, 1}, K::Unrecognised},
        {"a tie goes to the earlier cause", {0, 2, 2, 1, 0, 0}, K::DivisionsOff},
        {"the most beats an earlier one", {1, 0, 3, 0, 0, 0}, K::DecimalShift},
    };
    for (const auto& c : cases) {
        teacher::Tally tally;
        tally.mistakes = c.mistakes;
        EXPECT_EQ(tally.mostFrequentMistake(), c.most) << c.name;
    }
}

// The usual periods around a day, worked on a calendar: weeks run Monday to Sunday, also across
// New Year; the school year turns between 31 August and 1 September.
TEST(TaskStatistics, TheUsualPeriodsAroundADay)
{
    using D = QDate;
    const struct
    {
        const char* name;
        D day;
        Period week, month, schoolYear;
    } cases[] = {
        {"a Sunday ends its week",
         {2026, 12, 13},
         {D(2026, 12, 7), D(2026, 12, 13)},
         {D(2026, 12, 1), D(2026, 12, 31)},
         {D(2026, 9, 1), D(2027, 8, 31)}},
        {"New Year's Day, a Friday",
         {2027, 1, 1},
         {D(2026, 12, 28), D(2027, 1, 3)},
         {D(2027, 1, 1), D(2027, 1, 31)},
         {D(2026, 9, 1), D(2027, 8, 31)}},
        {"31 August, a Monday",
         {2026, 8, 31},
         {D(2026, 8, 31), D(2026, 9, 6)},
         {D(2026, 8, 1), D(2026, 8, 31)},
         {D(2025, 9, 1), D(2026, 8, 31)}},
        {"1 September",
         {2026, 9, 1},
         {D(2026, 8, 31), D(2026, 9, 6)},
         {D(2026, 9, 1), D(2026, 9, 30)},
         {D(2026, 9, 1), D(2027, 8, 31)}},
        {"29 February",
         {2028, 2, 29},
         {D(2028, 2, 28), D(2028, 3, 5)},
         {D(2028, 2, 1), D(2028, 2, 29)},
         {D(2027, 9, 1), D(2028, 8, 31)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(weekOf(c.day), c.week) << c.name;
        EXPECT_EQ(monthOf(c.day), c.month) << c.name;
        EXPECT_EQ(schoolYearOf(c.day), c.schoolYear) << c.name;
    }
}

} // namespace
} // namespace voltmetr
