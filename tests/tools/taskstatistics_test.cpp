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

} // namespace
} // namespace voltmetr
