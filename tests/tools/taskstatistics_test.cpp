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

} // namespace
} // namespace voltmetr
