#pragma once

#include "app/host.h"
#include "app/runstate.h"
#include "exercise/needlemotion.h"
#include "exercise/numbertext.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace voltmetr {

// The running timers of the exercise as the logic sees them. The window mirrors them onto its
// QTimers after every call into the logic.
struct TimerStates
{
    bool casovac = false; // the needle moves (10 ms)
    bool CP = false;      // the meter is overloaded: blink and count down (250 ms)

    friend bool operator==(const TimerStates&, const TimerStates&) = default;
};

// What an answer came to once it was confirmed and judged. The answer is already counted.
struct Judgement
{
    bool right = false;
    WorkedCalculation calculation; // filled for a wrong answer
};

// What Contin_Click did with the typed text.
struct AnswerOutcome
{
    // The text to put back into Vstup (commas made points); empty when the task ended while
    // the confirmation was open, since the new task's Vstup starts empty.
    QString shownText;
    std::optional<Judgement> judgement; // set only when the answer was judged and counted
};

// The exercise: meter and task, circuit, needle motion and overload, and the answer's checks.
// Plain logic: it asks the host for message boxes, beeps and random draws, and leaves all
// drawing to the window, which paints what the public state below says.
class Exercise
{
public:
    Exercise(Host& host, Data_a_promene& state);

    // --- task state ---
    std::uint8_t MeterNo = 0;   // 1..5, 0 before the first meter
    std::uint8_t RangePos = 0;  // the switch position the pupil set
    std::uint8_t BestRange = 0; // the smallest range strictly above TaskVoltage
    bool PolarityRight = false;
    bool Connected = false;
    NeedleMotion motion;
    std::int16_t BlinkCount = 0;

    // --- what the window shows besides what the task state tells ---
    float needleAngle() const { return m_needleAngle; } // the last angle given to SetNeedle
    bool needleVisible() const { return m_needleVisible; }
    bool warningVisible() const { return m_warningVisible; }
    bool meterDestroyed() const { return m_destroyed; } // the face shows the destroyed meter
    TimerStates timers() const { return m_timers; }
    // Grows with every NewTask: the window redraws the scale and empties Vstup when it changes.
    std::uint32_t taskSerial() const { return m_taskSerial; }
    const MeterType& meter() const; // the current meter; needs MeterNo >= 1

    // --- task cycle ---
    void Form_Load(); // reseed, zero the counters, fill the tables, first meter, first task
    void NewMeter();
    float GenerateTask();
    void NewTask(); // may ask the host to show "Nový měřák" first

    // --- circuit ---
    void Pripoj_Click();
    void Prepoluj_Click();
    void RozLB_Click(int index); // index 0..8 selects switch position index + 1
    void casovac_Timer();
    // True when this tick destroyed the meter; the window then shows Merak_KO and calls
    // NewTask.
    bool CP_Timer();

    // --- answer ---
    // Runs the checks in order (overloaded: beep; not a positive number; range too large;
    // confirmation), then judges and counts. An answer confirmed after its task had ended is
    // dropped. showInBox receives the text the answer box reads from the moment the commas
    // became points, before any question is asked, so that the box and the question agree.
    AnswerOutcome Contin_Click(const QString& typed,
                               const std::function<void(const QString&)>& showInBox = {});

    // --- exit confirmation ---
    TimerStates pauseTimers(); // stops both, returns how they stood
    void resumeTimers(const TimerStates& saved);

private:
    std::int32_t finishedTasks() const; // right and wrong answers, destroyed meters included
    // Adds the current task's record to the run's log as it ends.
    void logTaskEnd(TaskVerdict verdict, const std::optional<QString>& typed = std::nullopt,
                    std::optional<double> valueRead = std::nullopt);
    float targetDeflection() const;
    void startMotion();
    void SetNeedle(float angle) { m_needleAngle = angle; }

    Host& m_host;
    Data_a_promene& m_state;
    float m_needleAngle = 55.0f;
    bool m_needleVisible = true;
    bool m_warningVisible = false;
    bool m_destroyed = false;
    TimerStates m_timers;
    std::uint32_t m_taskSerial = 0;
    // Tasks finished when the current meter was chosen: a new meter is due once the count has
    // passed the next multiple of ten.
    std::int32_t m_finishedAtMeterChoice = 0;
    // The current task as its record will read: what was drawn and how the circuit was
    // handled so far; completed when the task ends.
    TaskRecord m_task;
    int m_tasksThisRun = 0; // started since Form_Load
    double m_taskStart = 0; // the clock when the task was set
};

} // namespace voltmetr
