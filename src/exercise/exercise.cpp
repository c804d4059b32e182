#include "exercise/exercise.h"

#include "app/procedury.h"
#include "exercise/metermodel.h"
#include "exercise/scalegeometry.h"

#include <cmath>

namespace voltmetr {

namespace {

constexpr float UpperStop = scale::upperStop;
constexpr float LowerStop = scale::lowerStop;
constexpr float ScaleZero = scale::zeroAngle;
// Ticks of the overload timer (250 ms each) until a pegged meter is destroyed: 5 s.
constexpr int TicksToDestruction = 20;
// The meter is changed after every this many finished tasks.
constexpr int TasksPerMeter = 10;

} // namespace

Exercise::Exercise(Host& host, Data_a_promene& state) : m_host(host), m_state(state) {}

const MeterType& Exercise::meter() const
{
    return m_state.tables.Meters[MeterNo];
}

void Exercise::Form_Load()
{
    m_host.reseedRandom();
    m_state.RightCount = 0;
    m_state.WrongCount = 0;
    m_state.TaskLog.clear();
    m_tasksThisRun = 0;
    MeterNo = 0;
    FillTables(m_state.tables);
    NewMeter();
    NewTask();
}

void Exercise::NewMeter()
{
    const std::uint8_t previous = MeterNo;
    do {
        MeterNo = static_cast<std::uint8_t>(5 * static_cast<double>(m_host.random()) + 1);
    } while (MeterNo == previous);
    RangePos = static_cast<std::uint8_t>(lowestUsablePosition(meter()));
    m_finishedAtMeterChoice = finishedTasks();
}

float Exercise::GenerateTask()
{
    const MeterType& current = meter();
    const int position = drawnPosition(current, m_host.random());
    const int k = drawnDivisions(current, position, m_host.random());
    const float voltage = voltageOfDivisions(current, position, k);
    BestRange = static_cast<std::uint8_t>(bestRangeFor(current, position, voltage));
    PolarityRight = m_host.random() < 0.5f;
    return voltage;
}

void Exercise::NewTask()
{
    // The finished task's circuit ends here, before the meter-change message can keep its
    // timers running: an overload of that task must not destroy the next task's meter.
    m_timers = {};
    BlinkCount = 0;
    m_warningVisible = false;
    m_destroyed = false;

    // A meter destroyed while the feedback window is open counts a task past the tenth before
    // this runs, so the change is owed whenever a tenth task was finished since the meter was
    // chosen, not only when the count stands exactly on a multiple of ten.
    if (finishedTasks() / TasksPerMeter > m_finishedAtMeterChoice / TasksPerMeter) {
        m_host.messageBox(
            QStringLiteral("Provedl jsi %1 měření. Pozor měním měřák.").arg(TasksPerMeter),
            QStringLiteral("Nový měřák"), MessageStyle::OkInformation);
        NewMeter();
    }
    motion.NeedleBase = 0;
    motion.NeedleOffset = 0;
    m_needleVisible = true;
    SetNeedle(ScaleZero);
    m_state.TaskVoltage = GenerateTask();
    Connected = false;
    ++m_taskSerial;

    m_task = {};
    m_task.order = ++m_tasksThisRun;
    m_task.divisions = meter().divisions;
    m_task.voltage = m_state.TaskVoltage;
    m_task.polarityRight = PolarityRight;
    m_task.bestRange = meter().ranges[BestRange];
    m_taskStart = m_host.now();
}

void Exercise::logTaskEnd(TaskVerdict verdict, const std::optional<QString>& typed,
                          std::optional<double> valueRead)
{
    constexpr double SecondsPerDay = 24 * 60 * 60;
    TaskRecord record = m_task;
    record.rangeInUse = meter().ranges[RangePos];
    record.destroyed = verdict == TaskVerdict::Destroyed;
    record.verdict = verdict;
    record.typed = typed;
    record.valueRead = valueRead;
    record.seconds = (m_host.now() - m_taskStart) * SecondsPerDay;
    m_state.TaskLog.push_back(record);
}

std::int32_t Exercise::finishedTasks() const
{
    return m_state.RightCount + m_state.WrongCount;
}

float Exercise::targetDeflection() const
{
    return steadyDeflection(meter(), RangePos, m_state.TaskVoltage, Connected, PolarityRight);
}

void Exercise::startMotion()
{
    motion.startToward(targetDeflection());
    BlinkCount = 0;
    m_warningVisible = false;
    m_timers.CP = false;
    m_timers.casovac = true;
}

void Exercise::Pripoj_Click()
{
    Connected = !Connected;
    startMotion();
}

void Exercise::Prepoluj_Click()
{
    PolarityRight = !PolarityRight;
    ++m_task.polarityReversals;
    if (Connected) {
        startMotion();
    }
    BlinkCount = 0;
}

void Exercise::RozLB_Click(int index)
{
    // Positions without a range have no label; a click that names one anyway is ignored, so the
    // reading law never divides by a missing range.
    if (!isUsablePosition(meter(), index + 1)) {
        return;
    }
    if (index + 1 != RangePos) {
        ++m_task.rangeChanges;
    }
    RangePos = static_cast<std::uint8_t>(index + 1);
    if (Connected) {
        startMotion();
    }
    BlinkCount = 0;
}

void Exercise::casovac_Timer()
{
    if (!m_timers.casovac) {
        return; // a tick that was already queued when the motion ended
    }
    const int divisions = meter().divisions;
    motion.advance();
    SetNeedle(motion.angle(divisions));

    const float change =
        static_cast<float>(std::fabs(static_cast<double>(motion.PrevOffset) - motion.NeedleOffset));
    if (change < 0.001f) {
        m_timers.casovac = false;
        if (!Connected) {
            SetNeedle(ScaleZero); // a disconnected meter rests exactly on zero
        }
    }

    auto peg = [&](float stop, double stopDivisions) {
        m_warningVisible = true;
        SetNeedle(stop);
        motion.NeedleOffset = 0;
        motion.NeedleBase = static_cast<float>(stopDivisions);
        m_timers.casovac = false;
        m_timers.CP = true;
        ++m_task.overloads;
    };
    if (motion.angle(divisions) > UpperStop) {
        peg(UpperStop, 74.0 / 70 * divisions);
    }
    if (motion.angle(divisions) < LowerStop) {
        peg(LowerStop, -4.0 / 70 * divisions);
    }
    motion.PrevOffset = motion.NeedleOffset;
}

bool Exercise::CP_Timer()
{
    if (!m_timers.CP) {
        return false;
    }
    m_warningVisible = !m_warningVisible;
    ++BlinkCount;
    if (BlinkCount < TicksToDestruction) {
        return false;
    }
    ++m_state.WrongCount;
    // A meter destroyed behind the feedback window belongs to the task just judged, whose
    // record is already in the log.
    if (!m_state.TaskLog.empty() && m_state.TaskLog.back().order == m_task.order) {
        m_state.TaskLog.back().destroyed = true;
        m_state.TaskLog.back().overloads = m_task.overloads;
    } else {
        logTaskEnd(TaskVerdict::Destroyed);
    }
    m_needleVisible = false;
    m_warningVisible = true;
    m_destroyed = true;
    m_timers = {};
    return true;
}

AnswerOutcome Exercise::Contin_Click(const QString& typed,
                                     const std::function<void(const QString&)>& showInBox)
{
    AnswerOutcome outcome;
    if (m_timers.CP) {
        m_host.beep();
        outcome.shownText = typed;
        return outcome;
    }
    outcome.shownText = CommaToPoint(typed);
    if (showInBox) {
        showInBox(outcome.shownText);
    }
    const double value = readNumber(outcome.shownText);
    if (!(value > 0) || !std::isfinite(value)) {
        m_host.messageBox(QStringLiteral("Napětí bylo zadáno špatně!"), QStringLiteral("Chyba"),
                          MessageStyle::OkCritical);
        return outcome;
    }
    if (RangePos > BestRange) {
        m_host.messageBox(
            QStringLiteral("Máš nastaven zbytečně veliký rozsah. Měření je nepřesné!"),
            QStringLiteral("Upozornění"), MessageStyle::OkInformation);
        return outcome;
    }

    // The timers run while the question is open; if they destroy the meter, a new task has
    // begun by the time the pupil answers, and the answer no longer belongs to any task.
    const std::uint32_t askedOnTask = m_taskSerial;
    const int askedOnOrder = m_task.order;
    const MessageAnswer answer =
        m_host.messageBox(QStringLiteral("Uvedl jsi, že napětí na voltmetru je ") +
                              outcome.shownText + QStringLiteral(" V. \r\nJseš si opravdu jist?"),
                          QStringLiteral("Potvrzení výsledku"), MessageStyle::YesNoQuestion);
    if (m_taskSerial != askedOnTask) {
        // The task the answer was typed for was logged as destroyed; it now shows that an
        // answer was confirmed, and dropped, too.
        if (answer == MessageAnswer::Yes) {
            for (TaskRecord& record : m_state.TaskLog) {
                if (record.order == askedOnOrder) {
                    record.verdict = TaskVerdict::Dropped;
                    record.typed = typed;
                    record.valueRead = value;
                }
            }
        }
        outcome.shownText.clear();
        return outcome;
    }
    if (answer != MessageAnswer::Yes) {
        return outcome;
    }

    // Counted at once, so that leaving through the feedback window cannot lose the answer.
    Judgement judgement;
    judgement.right = isRightAnswer(value, m_state.TaskVoltage);
    logTaskEnd(judgement.right ? TaskVerdict::Right : TaskVerdict::Wrong, typed, value);
    if (judgement.right) {
        ++m_state.RightCount;
    } else {
        ++m_state.WrongCount;
        judgement.calculation =
            workedCalculation(m_state.TaskVoltage, meter().divisions, meter().ranges[BestRange]);
    }
    outcome.judgement = judgement;
    return outcome;
}

TimerStates Exercise::pauseTimers()
{
    const TimerStates saved = m_timers;
    m_timers = {};
    return saved;
}

void Exercise::resumeTimers(const TimerStates& saved)
{
    m_timers = saved;
}

} // namespace voltmetr
