#include "taskstatistics.h"

#include "app/procedury.h"
#include "czechorder.h"
#include "exercise/metermodel.h"
#include "school/pupilstore.h"
#include "school/runstore.h"
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

    std::vector<RunTotals> runs;
    if (failure = readRuns(db, query.pupilClass, query.period, runs); !failure.isEmpty()) {
        return std::nullopt;
    }
    // A school year's tasks name their run only: each run's pupil is looked up once here.
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
            Share& share = statistics.byDate[*run.date];
            share.right += right;
            share.all += right + wrong;
        }
    }

    statistics.taskLogPresent = taskLogReadable(db);
    if (statistics.taskLogPresent) {
        MeterTables tables;
        FillTables(tables);
        const auto tallyTask = [&](const CountedTask& counted) {
            const auto owner = runPupils.find(counted.run);
            if (owner == runPupils.end()) {
                return; // a task of a run that is no longer there
            }
            const TaskRecord& task = counted.task;
            countTask(*owner->second, task, tables);
            if (const Share answers = answersOf(task); answers.all > 0) {
                Share& meter = statistics.byMeter[task.divisions];
                meter.right += answers.right;
                meter.all += answers.all;
            }
        };
        if (failure = readCountedTasks(db, query.pupilClass, query.period, tallyTask);
            !failure.isEmpty()) {
            return std::nullopt;
        }
    }

    for (const auto& [key, tally] : pupils) {
        statistics.pupils.append({key.first, key.second, tally});
        statistics.classes[key.second].add(tally);
        statistics.all.add(tally);
    }
    sortByClassThenSurname(statistics.pupils);
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
