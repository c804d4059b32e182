#include "taskstatistics.h"

#include "app/procedury.h"
#include "czechorder.h"
#include "exercise/metermodel.h"
#include "exercise/numbertext.h"
#include "school/pupilstore.h"
#include "school/runstore.h"
#include "school/taskcause.h"
#include "school/tasklogstore.h"
#include "schoolconnection.h"

#include <QLocale>
#include <algorithm>
#include <set>
#include <tuple>
#include <unordered_map>

namespace voltmetr::teacher {

namespace {

using PupilKey = std::pair<QString, QString>; // surname, class

} // namespace

std::optional<double> Tally::rightShare() const
{
    return teacher::rightShare(right, wrong);
}

void Tally::add(const Tally& part)
{
    runs += part.runs;
    right += part.right;
    wrong += part.wrong;
    tasks += part.tasks;
    destroyed += part.destroyed;
    seconds += part.seconds;
    if (part.lastPractised) {
        lastPractised = std::max(lastPractised.value_or(*part.lastPractised), *part.lastPractised);
    }
    for (std::size_t kind = 0; kind < mistakes.size(); ++kind) {
        mistakes[kind] += part.mistakes[kind];
    }
}

std::optional<double> Tally::secondsPerTask() const
{
    if (tasks == 0) {
        return std::nullopt;
    }
    return seconds / static_cast<double>(tasks);
}

std::optional<MistakeKind> Tally::mostFrequentMistake() const
{
    const auto most = std::max_element(mistakes.begin(), mistakes.end());
    if (*most == 0) {
        return std::nullopt;
    }
    return static_cast<MistakeKind>(most - mistakes.begin() + 1);
}

Share answersOf(const TaskRecord& task)
{
    const qint64 right = task.verdict == TaskVerdict::Right ? 1 : 0;
    const qint64 wrong = (task.verdict == TaskVerdict::Wrong ? 1 : 0) + (task.destroyed ? 1 : 0);
    return {right, right + wrong};
}

std::optional<MistakeKind> likeliestCause(const TaskRecord& task, const MeterTables& tables)
{
    const MeterType* meter = meterWithDivisions(tables, task.divisions);
    if (task.verdict != TaskVerdict::Wrong || !task.valueRead || !meter) {
        return std::nullopt;
    }
    return mistakeKind(*task.valueRead, task.voltage, *meter, task.rangeInUse);
}

TaskCauseRule likeliestCauseRule(const MeterTables& tables)
{
    TaskCauseRule rule;
    rule.otherwise = static_cast<int>(MistakeKind::Unrecognised);
    for (int meterNo = 1; meterNo <= tables.Meters.size(); ++meterNo) {
        const MeterType& meter = tables.Meters[meterNo];
        if (meterWithDivisions(tables, meter.divisions) != &meter) {
            continue; // the task names its meter by the divisions: the first of them is meant
        }
        TaskCauseRule::Meter& causes = rule.meters.emplace_back();
        causes.divisions = meter.divisions;
        visitMistakeValues(TaskCauseRule::voltage(), TaskCauseRule::rangeInUse(), meter,
                           [&](MistakeKind kind, const SqlNumber& value) {
                               causes.causes.emplace_back(
                                   static_cast<int>(kind),
                                   withinOnePercent(TaskCauseRule::answer(), value));
                               return false;
                           });
    }
    return rule;
}

QString bringLikeliestCausesUpToDate(QSqlDatabase& db, QStringList& changes)
{
    MeterTables tables;
    FillTables(tables);
    return bringTaskCausesUpToDate(db, likeliestCauseRule(tables), changes);
}

void countTask(Tally& tally, const TaskRecord& task, const MeterTables& tables)
{
    ++tally.tasks;
    tally.seconds += task.seconds;
    tally.destroyed += task.destroyed ? 1 : 0;
    if (const std::optional<MistakeKind> kind = likeliestCause(task, tables)) {
        ++tally.mistakes[static_cast<std::size_t>(*kind) - 1];
    }
}

void sortByNeed(QList<PupilTally>& pupils)
{
    const auto need = [](const PupilTally& pupil) {
        const std::optional<double> share = pupil.tally.rightShare();
        return std::tuple(!pupil.tally.neverPractised(), share.has_value(), share.value_or(0));
    };
    std::stable_sort(pupils.begin(), pupils.end(),
                     [&](const PupilTally& a, const PupilTally& b) { return need(a) < need(b); });
}

QStringList tallyHeadings()
{
    QStringList headings{QStringLiteral("Cvičení"), QStringLiteral("Úlohy"),
                         QStringLiteral("Úspěšnost"), QStringLiteral("Zničené měřáky"),
                         QStringLiteral("Čas na úlohu")};
    for (int kind = 1; kind <= MistakeKindCount; ++kind) {
        headings << QStringLiteral("Ch%1").arg(kind);
    }
    return headings;
}

QString mistakeColumnsLegend()
{
    QStringList columns;
    for (int kind = 1; kind <= MistakeKindCount; ++kind) {
        columns << QStringLiteral("Ch%1 %2").arg(kind).arg(
            mistakeKindName(static_cast<MistakeKind>(kind)));
    }
    return QStringLiteral("Chybné odpovědi podle pravděpodobné příčiny: %1.")
        .arg(columns.join(QStringLiteral(", ")));
}

QStringList tallyCells(const Tally& tally, const QLocale& locale)
{
    const QString unknown = QStringLiteral("–");
    const std::optional<double> perTask = tally.secondsPerTask();
    QStringList cells{QString::number(tally.runs), QString::number(tally.tasks),
                      rightShareText(tally.right, tally.wrong, locale),
                      QString::number(tally.destroyed),
                      perTask ? locale.toString(*perTask, 'f', 1) + QStringLiteral(" s") : unknown};
    for (const qint64 count : tally.mistakes) {
        cells << QString::number(count);
    }
    return cells;
}

QString dayText(const QDate& day)
{
    return day.toString(QStringLiteral("d. M. yyyy"));
}

QString periodText(const Period& period)
{
    QStringList ends;
    if (period.from) {
        ends << QStringLiteral("od ") + dayText(*period.from);
    }
    if (period.to) {
        ends << QStringLiteral("do ") + dayText(*period.to);
    }
    return ends.isEmpty() ? QStringLiteral("celé období") : ends.join(u' ');
}

QString neverPractisedMark()
{
    return QStringLiteral("necvičil(a)");
}

namespace {

// Adds answers to a share.
void addTo(Share& share, const Share& answers)
{
    share.right += answers.right;
    share.all += answers.all;
}

// Reads the runs and each of their logged tasks, and counts them here, the likeliest causes
// included: each run's pupil is looked up once, since a school year's tasks name their run only.
QString countHere(QSqlDatabase& db, const StatisticsQuery& query, const MeterTables& tables,
                  std::map<PupilKey, Tally>& pupils, ClassStatistics& statistics)
{
    std::vector<RunTotals> runs;
    if (QString failure = readRuns(db, query.pupilClass, query.period, runs); !failure.isEmpty()) {
        return failure;
    }
    std::unordered_map<qint64, Tally*> runPupils;
    runPupils.reserve(runs.size());
    for (const RunTotals& run : runs) {
        Tally& tally = pupils[{run.surname, run.className}];
        runPupils.emplace(run.id, &tally);
        const qint64 right = run.totals.rightCount;
        const qint64 wrong = run.totals.wrongCount;
        ++tally.runs;
        tally.right += right;
        tally.wrong += wrong;
        if (run.date) {
            tally.lastPractised = std::max(tally.lastPractised.value_or(*run.date), *run.date);
            if (query.charts) {
                addTo(statistics.byDate[*run.date], {right, right + wrong});
            }
        }
    }
    if (!statistics.taskLogPresent) {
        return {};
    }
    return readCountedTasks(db, query.pupilClass, query.period, [&](const CountedTask& counted) {
        const auto owner = runPupils.find(counted.run);
        if (owner == runPupils.end()) {
            return; // a task of a run that is no longer there
        }
        countTask(*owner->second, counted.task, tables);
        if (const Share answers = answersOf(counted.task); query.charts && answers.all > 0) {
            addTo(statistics.byMeter[counted.task.divisions], answers);
        }
    });
}

// Lets the database count the runs and the tasks, which it can when it has worked out the
// likeliest causes itself: only a line per pupil comes to this computer.
QString countInDatabase(QSqlDatabase& db, const StatisticsQuery& query,
                        std::map<PupilKey, Tally>& pupils, ClassStatistics& statistics)
{
    QString failure = readPupilSummary(
        db, query.pupilClass, query.period, MistakeKindCount, [&](const PupilSummary& summary) {
            Tally& tally = pupils[{summary.surname, summary.pupilClass}];
            tally.runs = summary.runs;
            tally.right = summary.right;
            tally.wrong = summary.wrong;
            tally.lastPractised = summary.lastRun;
            tally.tasks = summary.tasks;
            tally.seconds = summary.seconds;
            tally.destroyed = summary.destroyed;
            std::copy(summary.causes.begin(), summary.causes.end(), tally.mistakes.begin());
        });
    if (!failure.isEmpty() || !query.charts) {
        return failure;
    }
    failure = readAnswersByDate(db, query.pupilClass, query.period,
                                [&](double date, qint64 right, qint64 wrong) {
                                    addTo(statistics.byDate[date], {right, right + wrong});
                                });
    if (!failure.isEmpty()) {
        return failure;
    }
    return readTasksByMeter(db, query.pupilClass, query.period,
                            [&](const TaskRecord& task, qint64 count) {
                                if (const Share answers = answersOf(task); answers.all > 0) {
                                    addTo(statistics.byMeter[task.divisions],
                                          {answers.right * count, answers.all * count});
                                }
                            });
}

} // namespace

std::optional<ClassStatistics> readStatistics(QSqlDatabase& db, const StatisticsQuery& query,
                                              QString& failure)
{
    std::map<PupilKey, Tally> pupils;
    ClassStatistics statistics;

    std::vector<Profile> listed;
    if (failure = readProfiles(db, listed); !failure.isEmpty()) {
        return std::nullopt;
    }
    for (const Profile& pupil : listed) {
        if (query.pupilClass.isEmpty() || pupil.className == query.pupilClass) {
            pupils.try_emplace({pupil.surname, pupil.className});
        }
    }

    static const MeterTables tables = [] {
        MeterTables filled;
        FillTables(filled);
        return filled;
    }();
    static const TaskCauseRule causeRule = likeliestCauseRule(tables);
    // A task log with the causes worked out is there, and a look at the catalogue saved.
    const bool causesInDatabase = taskCausesCurrent(db, causeRule);
    statistics.taskLogPresent = causesInDatabase || taskLogReadable(db);
    failure = causesInDatabase ? countInDatabase(db, query, pupils, statistics)
                               : countHere(db, query, tables, pupils, statistics);
    if (!failure.isEmpty()) {
        return std::nullopt;
    }

    statistics.pupils.reserve(static_cast<qsizetype>(pupils.size()));
    for (const auto& [key, tally] : pupils) {
        statistics.pupils.append({key.first, key.second, tally});
        statistics.all.add(tally);
    }
    sortByClassThenSurname(statistics.pupils);
    // In the classes' order now, each class's tally goes after the last one.
    for (const PupilTally& pupil : std::as_const(statistics.pupils)) {
        auto last = statistics.classes.empty() ? statistics.classes.end()
                                               : std::prev(statistics.classes.end());
        if (last == statistics.classes.end() || last->first != pupil.pupilClass) {
            last = statistics.classes.emplace_hint(statistics.classes.end(), pupil.pupilClass,
                                                   Tally{});
        }
        last->second.add(pupil.tally);
    }
    if (query.byNeed) {
        sortByNeed(statistics.pupils);
    }
    return statistics;
}

std::optional<ClassStatistics> readStatisticsAt(const QString& location,
                                                const StatisticsQuery& query, QString& failure)
{
    SchoolConnection connection(location, SchoolConnection::Access::Read);
    if (failure = schoolDatabaseProblem(location, connection); !failure.isEmpty()) {
        return std::nullopt;
    }
    std::optional<ClassStatistics> statistics = readStatistics(connection.db(), query, failure);
    if (!statistics) {
        failure = databaseFailure(QStringLiteral("Čtení výsledků"), failure);
    }
    return statistics;
}

QStringList readListedClassesAt(const QString& location, QString& failure)
{
    SchoolConnection connection(location, SchoolConnection::Access::Read);
    std::vector<Profile> listed;
    if (failure = schoolDatabaseProblem(location, connection); failure.isEmpty()) {
        failure = readProfiles(connection.db(), listed);
    }
    std::set<QString, ClassNameOrder> classes;
    for (const Profile& pupil : listed) {
        classes.insert(pupil.className);
    }
    return failure.isEmpty() ? QStringList(classes.begin(), classes.end()) : QStringList();
}

} // namespace voltmetr::teacher
