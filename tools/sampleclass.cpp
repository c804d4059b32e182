// Fills a school database with a made-up class of 30 pupils who practise for a month, each run
// with its task log, so that the teacher's statistics and the class overview can be seen with
// a class's worth of data. The pupils differ in skill, grow better over the month and each
// leans to one kind of mistake.
//
//   voltmetr-sample-class DATABASE [SEED]
//
// The database must exist (voltmetr-ucitel zaloz); the runs are stored as the pupils' program
// stores them.

#include "app/oledate.h"
#include "app/procedury.h"
#include "exercise/metermodel.h"
#include "exercise/mistakekind.h"
#include "exercise/numbertext.h"
#include "report/reportkey.h"
#include "school/resultsstore.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTextStream>
#include <random>

namespace {

using namespace voltmetr;

const char* const surnames[] = {"Adámek",      "Bartošová", "Beneš",       "Černý",    "Doležal",
                                "Dvořáková",   "Fiala",     "Havlíček",    "Horáková", "Jelínek",
                                "Kadlec",      "Kolářová",  "Kratochvíl",  "Král",     "Kučerová",
                                "Marek",       "Musil",     "Navrátilová", "Novák",    "Pokorný",
                                "Procházková", "Růžička",   "Sedláček",    "Šimková",  "Štěpánek",
                                "Svoboda",     "Urbanová",  "Vacek",       "Veselá",   "Zeman"};

class SampleClass
{
public:
    explicit SampleClass(unsigned seed) : m_random(seed) { FillTables(m_tables); }

    int fill(const QString& location)
    {
        const ResultsStore store(location);
        const QDate first(2026, 11, 2);
        int stored = 0;
        for (const char* name : surnames) {
            const double skill = uniform(0.45, 0.92);
            const auto leaning = static_cast<MistakeKind>(1 + pick(MistakeKindCount));
            for (QDate day = first; day < first.addDays(30); day = day.addDays(1)) {
                // Practice on two school days of five, on average.
                if (day.dayOfWeek() > 5 || uniform(0, 1) > 0.4) {
                    continue;
                }
                const double progress = static_cast<double>(first.daysTo(day)) / 30.0;
                stored += storeRun(store, QString::fromUtf8(name), day,
                                   std::min(0.98, skill + 0.15 * progress), leaning)
                              ? 1
                              : 0;
            }
        }
        return stored;
    }

private:
    double uniform(double from, double to)
    {
        return std::uniform_real_distribution<double>(from, to)(m_random);
    }
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    float draw() { return static_cast<float>(uniform(0, 0.999)); }

    // The wrong answer a pupil who makes this mistake types for the task.
    double wrongAnswer(MistakeKind kind, const MeterType& meter, int best, float voltage)
    {
        const double range = meter.ranges[best];
        const double division = range / meter.divisions;
        const double divisions = voltage / division;
        switch (kind) {
        case MistakeKind::DivisionsTyped:
            return divisions;
        case MistakeKind::OtherRangeScale: {
            int other = best;
            while (other == best) {
                other = lowestUsablePosition(meter) +
                        pick(highestUsablePosition(meter) - lowestUsablePosition(meter) + 1);
            }
            return divisions * meter.ranges[other] / meter.divisions;
        }
        case MistakeKind::DivisionsOff:
            return voltage + division * (pick(2) == 0 ? -1 : 1) * (1 + pick(2));
        case MistakeKind::DecimalShift:
            return pick(2) == 0 ? voltage * 10.0 : voltage / 10.0;
        case MistakeKind::SignOrUnit:
            return voltage * 1000.0;
        case MistakeKind::Unrecognised:
            break;
        }
        return voltage * uniform(1.3, 1.9);
    }

    bool storeRun(const ResultsStore& store, const QString& surname, QDate day, double skill,
                  MistakeKind leaning)
    {
        const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
        std::vector<TaskRecord> tasks;
        ResultRow row;
        int meterNo = 1 + pick(5);
        const int taskCount = 10 + pick(16);
        double spent = 0;
        for (int order = 1; order <= taskCount; ++order) {
            if (order % 10 == 1 && order > 1) {
                meterNo = 1 + (meterNo + pick(4)) % 5;
            }
            const MeterType& meter = m_tables.Meters[meterNo];
            const int position = drawnPosition(meter, draw());
            const float voltage =
                voltageOfDivisions(meter, position, drawnDivisions(meter, position, draw()));
            const int best = bestRangeFor(meter, position, voltage);
            TaskRecord task;
            task.order = order;
            task.divisions = meter.divisions;
            task.voltage = voltage;
            task.polarityRight = pick(2) == 0;
            task.bestRange = meter.ranges[best];
            task.rangeInUse = task.bestRange;
            task.rangeChanges = 1 + pick(3);
            task.polarityReversals = task.polarityRight ? 0 : 1;
            task.seconds = uniform(15, 40) + (1 - skill) * uniform(10, 60);
            if (uniform(0, 1) < 0.05 * (1.2 - skill)) {
                task.overloads = 1;
                task.destroyed = true;
                task.verdict = TaskVerdict::Destroyed;
                task.rangeInUse = meter.ranges[lowestUsablePosition(meter)];
            } else {
                const bool right = uniform(0, 1) < skill;
                // Two wrong answers in three come from the pupil's own habit.
                const MistakeKind kind =
                    pick(3) < 2 ? leaning : static_cast<MistakeKind>(1 + pick(MistakeKindCount));
                const double value = right ? voltage : wrongAnswer(kind, meter, best, voltage);
                task.typed = czech.toString(value, 'g', 6);
                task.valueRead = czech.toDouble(*task.typed);
                task.verdict = isRightAnswer(*task.valueRead, voltage) ? TaskVerdict::Right
                                                                       : TaskVerdict::Wrong;
            }
            (task.verdict == TaskVerdict::Right ? row.rightCount : row.wrongCount) += 1;
            spent += task.seconds;
            tasks.push_back(task);
        }
        const double start = 8.0 / 24 + pick(6) * 0.75 / 24;
        row.surname = surname;
        row.className = QStringLiteral("2.B");
        row.startTime = start;
        row.endTime = start + spent / 86400;
        row.date = toOleDate(day.startOfDay());
        row.loginName = QStringLiteral("zak%1").arg(1 + pick(30), 2, 10, QLatin1Char('0'));
        row.examType = ExerciseTypeCode;
        return store.appendRun(row, tasks).stored();
    }

    std::mt19937 m_random;
    MeterTables m_tables;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (arguments.size() < 2) {
        err << "Použití: voltmetr-sample-class DATABÁZE [SEMÍNKO]" << Qt::endl;
        return 2;
    }
    const unsigned seed = arguments.size() > 2 ? arguments[2].toUInt() : 20261130u;
    const int stored = SampleClass(seed).fill(arguments[1]);
    QTextStream(stdout) << "Uloženo cvičení: " << stored << Qt::endl;
    return stored > 0 ? 0 : 1;
}
