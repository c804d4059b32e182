// Fills an empty school database with made-up classes of pupils who practise for a month, each
// run with its task log, so that the teacher's statistics and the class overview can be seen
// with a class's worth of data, and measured with a school year's. The pupils differ in skill,
// grow better over their month and each leans to one kind of mistake.
//
//   voltmetr-sample-class [--tridy N] [--zaku N] [--dny N] DATABASE [SEED]
//
// One class, 2.B, of 30 pupils practising for 30 days by default; a school year of a big school
// is 200 classes (--tridy 200): 6,000 pupils, about 53,000 runs and 930,000 tasks, each class's
// month starting up to eight weeks before the first class's. The database must exist
// (voltmetr-ucitel zaloz) and be empty, so that made-up pupils never mix with a school's own and a
// second run never doubles them; the pupils are listed and their runs stored with the statements
// the pupils' program uses, all in one transaction.

#include "app/oledate.h"
#include "app/procedury.h"
#include "exercise/metermodel.h"
#include "exercise/mistakekind.h"
#include "exercise/numbertext.h"
#include "report/reportkey.h"
#include "school/profile.h"
#include "school/pupilstore.h"
#include "school/runstore.h"
#include "school/schooldatabase.h"
#include "school/tasklogstore.h"
#include "schoolconnection.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTextStream>
#include <algorithm>
#include <iterator>
#include <random>

namespace {

using namespace voltmetr;

const char* const surnames[] = {"Adámek",      "Bartošová", "Beneš",       "Černý",    "Doležal",
                                "Dvořáková",   "Fiala",     "Havlíček",    "Horáková", "Jelínek",
                                "Kadlec",      "Kolářová",  "Kratochvíl",  "Král",     "Kučerová",
                                "Marek",       "Musil",     "Navrátilová", "Novák",    "Pokorný",
                                "Procházková", "Růžička",   "Sedláček",    "Šimková",  "Štěpánek",
                                "Svoboda",     "Urbanová",  "Vacek",       "Veselá",   "Zeman"};

// How much to make.
struct SampleSize
{
    int classes = 1;
    int pupils = static_cast<int>(std::size(surnames)); // in each class
    int days = 30; // each class practises on the school days of so many days
};

// 2.B first, then 3.B to 10.B, 1.B, 2.C and on, the letters after Z starting again at A.
constexpr int MostClasses = 10 * 26;
QString classNameOf(int index)
{
    return QStringLiteral("%1.%2")
        .arg(1 + (index + 1) % 10)
        .arg(QChar(u'A' + (index / 10 + 1) % 26));
}

// What was stored.
struct Made
{
    int pupils = 0;
    int runs = 0;
    qint64 tasks = 0;
};

class SampleSchool
{
public:
    SampleSchool(QSqlDatabase& db, unsigned seed, SampleSize size)
        : m_db(db), m_random(seed), m_size(size), m_statements(db), m_taskLog(db, true)
    {
        FillTables(m_tables);
    }

    // Lists the pupils and stores their runs inside the caller's transaction. Empty on success,
    // else the reason.
    QString fill()
    {
        if (!m_statements.failure().isEmpty() || !m_taskLog.failure().isEmpty()) {
            return m_statements.failure() + m_taskLog.failure();
        }
        for (int index = 0; index < m_size.classes; ++index) {
            // The classes take their turns a week apart, from 7 September to 2 November.
            const QDate first = QDate(2026, 11, 2).addDays(-7 * (index % 9));
            std::vector<Profile> pupils;
            for (int p = 0; p < m_size.pupils; ++p) {
                pupils.push_back({QString::fromUtf8(surnames[p]), classNameOf(index)});
                if (const QString failure = practise(pupils.back(), first); !failure.isEmpty()) {
                    return failure;
                }
            }
            const PupilsAdded listed = addMissingPupils(m_db, pupils);
            if (!listed.ok()) {
                return listed.error;
            }
            m_made.pupils += listed.added;
        }
        return {};
    }

    const Made& made() const { return m_made; }

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

    // The pupil's runs over the class's days. Empty on success, else the reason.
    QString practise(const Profile& pupil, QDate first)
    {
        const double skill = uniform(0.45, 0.92);
        const auto leaning = static_cast<MistakeKind>(1 + pick(MistakeKindCount));
        for (QDate day = first; day < first.addDays(m_size.days); day = day.addDays(1)) {
            // Practice on two school days of five, on average.
            if (day.dayOfWeek() > 5 || uniform(0, 1) > 0.4) {
                continue;
            }
            const double progress = static_cast<double>(first.daysTo(day)) / m_size.days;
            if (const QString failure =
                    storeRun(pupil, day, std::min(0.98, skill + 0.15 * progress), leaning);
                !failure.isEmpty()) {
                return failure;
            }
        }
        return {};
    }

    // One run of the pupil on the day, with its tasks. Empty on success, else the reason.
    QString storeRun(const Profile& pupil, QDate day, double skill, MistakeKind leaning)
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
        row.surname = pupil.surname;
        row.className = pupil.className;
        row.startTime = start;
        row.endTime = start + spent / 86400;
        row.date = toOleDate(day.startOfDay());
        row.loginName = QStringLiteral("zak%1").arg(1 + pick(30), 2, 10, QLatin1Char('0'));
        row.examType = ExerciseTypeCode;
        qint64 runId = 0;
        if (const QString failure = m_statements.insertRow(row, runId); !failure.isEmpty()) {
            return failure;
        }
        if (!m_taskLog.store(runId, tasks, profileEntry(pupil))) {
            return QStringLiteral("úlohy běhu žáka %1 nelze uložit").arg(profileEntry(pupil));
        }
        ++m_made.runs;
        m_made.tasks += static_cast<qint64>(tasks.size());
        return {};
    }

    QSqlDatabase& m_db;
    std::mt19937 m_random;
    SampleSize m_size;
    MeterTables m_tables;
    RunStatements m_statements;
    TaskLogWriter m_taskLog;
    Made m_made;
};

// What was asked for on the command line.
struct SampleRequest
{
    QString database;
    unsigned seed = 20261130u;
    SampleSize size;
    bool help = false;
    QString error; // Czech; nothing can be made
};

const QString usage = QStringLiteral(
    "Použití: voltmetr-sample-class [--tridy N] [--zaku N] [--dny N] DATABÁZE [SEMÍNKO]\n"
    "\n"
    "Naplní prázdnou školní databázi (voltmetr-ucitel zaloz) vymyšlenými třídami: žáci\n"
    "cvičí dva školní dny z pěti, každou úlohu zapsanou v tabulce úloh.\n"
    "\n"
    "  --tridy N   tříd (2.B, 3.B … 10.B, 1.B, 2.C …), 1 až %1, jinak 1\n"
    "  --zaku N    žáků v každé třídě, 1 až %2, jinak %2\n"
    "  --dny N     dní, po které třída cvičí, 1 až 366, jinak 30\n"
    "\n"
    "Školní rok velké školy (6 000 žáků): --tridy 200.\n");

SampleRequest parseSampleRequest(const QStringList& arguments)
{
    const struct
    {
        const char* name;
        int SampleSize::*value;
        int most;
    } options[] = {{"--tridy", &SampleSize::classes, MostClasses},
                   {"--zaku", &SampleSize::pupils, SampleSize().pupils},
                   {"--dny", &SampleSize::days, 366}};
    SampleRequest request;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size() && request.error.isEmpty(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("-h") || argument == QStringLiteral("--help")) {
            request.help = true;
            return request;
        }
        if (!argument.startsWith(u'-')) {
            positional << argument;
            continue;
        }
        const auto option = std::ranges::find_if(options, [&](const auto& o) {
            return argument.section(u'=', 0, 0) == QLatin1String(o.name);
        });
        if (option == std::end(options)) {
            request.error = QStringLiteral("Neznámá volba %1 (nápověda: --help).").arg(argument);
            break;
        }
        const QString value =
            argument.contains(u'=') ? argument.section(u'=', 1) : arguments.value(++i);
        bool number = false;
        request.size.*(option->value) = value.toInt(&number);
        if (!number || request.size.*(option->value) < 1 ||
            request.size.*(option->value) > option->most) {
            request.error = QStringLiteral("Volba %1 potřebuje celé číslo od 1 do %2.")
                                .arg(QLatin1String(option->name))
                                .arg(option->most);
        }
    }
    bool seed = true;
    if (positional.size() == 2) {
        request.seed = positional[1].toUInt(&seed);
    }
    if (!request.error.isEmpty()) {
        return request;
    }
    if (positional.isEmpty()) {
        request.error = QStringLiteral("Chybí databáze (nápověda: --help).");
    } else if (positional.size() > 2 || !seed) {
        request.error =
            QStringLiteral("Nečekaný argument „%1“ (nápověda: --help).").arg(positional.last());
    }
    request.database = positional.value(0);
    return request;
}

// Makes the sample into the empty database, all of it or nothing. Empty on success, else the
// reason; sets made to what was stored.
QString makeSample(const SampleRequest& request, Made& made)
{
    if (!schoolDatabaseMayExist(request.database)) {
        return QStringLiteral("Databáze %1 neexistuje; založte ji: voltmetr-ucitel zaloz --db %1")
            .arg(request.database);
    }
    SchoolConnection connection(request.database, SchoolConnection::Access::Write);
    if (const QString problem = teacher::schoolDatabaseProblem(request.database, connection);
        !problem.isEmpty()) {
        return problem;
    }
    QSqlDatabase& db = connection.db();
    std::vector<PupilRunTotals> present;
    if (const QString failure = readClassTotals(db, {}, present); !failure.isEmpty()) {
        return failure;
    }
    if (!present.empty()) {
        return QStringLiteral("Databáze %1 není prázdná (žáků v ní: %2); vymyšlené třídy se "
                              "ukládají jen do prázdné databáze, aby se nemíchaly se skutečnými "
                              "ani se neuložily dvakrát.")
            .arg(request.database)
            .arg(present.size());
    }
    if (const QString failure = beginWriting(db); !failure.isEmpty()) {
        return failure;
    }
    SampleSchool school(db, request.seed, request.size);
    QString failure = school.fill();
    if (failure.isEmpty()) {
        failure = commitWriting(db);
    }
    if (!failure.isEmpty()) {
        rollBackWriting(db);
        return failure;
    }
    made = school.made();
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const SampleRequest request = parseSampleRequest(QCoreApplication::arguments().mid(1));
    if (request.help) {
        out << usage.arg(MostClasses).arg(SampleSize().pupils);
        return 0;
    }
    if (!request.error.isEmpty()) {
        err << request.error << Qt::endl;
        return 2;
    }
    Made made;
    if (const QString failure = makeSample(request, made); !failure.isEmpty()) {
        err << failure << Qt::endl;
        return 1;
    }
    out << QStringLiteral("Uloženo žáků: %1, cvičení: %2, úloh: %3.")
               .arg(made.pupils)
               .arg(made.runs)
               .arg(made.tasks)
        << Qt::endl;
    return 0;
}
