#pragma once

#include <QString>
#include <optional>

namespace voltmetr {

// How a task of the run ended. The numbers are what the school database stores.
enum class TaskVerdict
{
    Right = 1,
    Wrong = 2,
    Destroyed = 3, // the meter was destroyed by an overload before an answer was judged
    // The meter was destroyed while the pupil was confirming an answer: the confirmed answer
    // belonged to a task that had already ended, so it was dropped, never judged.
    Dropped = 4,
};

// What one finished task leaves behind: enough for the teacher to see how the pupil handled
// the meter and, for a wrong answer, what the pupil most likely did.
struct TaskRecord
{
    int order = 0;             // 1 for the run's first task
    int divisions = 0;         // N of the meter, which names the meter of the catalogue
    float voltage = 0;         // the source's voltage, always positive
    bool polarityRight = true; // as the task was drawn, before any reversal
    float bestRange = 0;       // full scale in volts of the range the task called for
    float rangeInUse = 0;      // full scale in volts of the range set when the task ended
    int rangeChanges = 0;      // clicks that moved the switch to another range
    int polarityReversals = 0;
    int overloads = 0; // times the needle was pegged at a stop
    bool destroyed = false;
    std::optional<QString> typed;    // the answer as typed; none when no answer was confirmed
    std::optional<double> valueRead; // the number the answer was read as
    TaskVerdict verdict = TaskVerdict::Wrong;
    double seconds = 0; // from the task's start to its end

    friend bool operator==(const TaskRecord&, const TaskRecord&) = default;
};

} // namespace voltmetr
