#include "pupilhistory.h"

#include "app/procedury.h"
#include "school/runstore.h"
#include "school/tasklogstore.h"
#include "schoolconnection.h"

namespace voltmetr::teacher {

namespace {

std::optional<PupilHistory> readPupilHistory(QSqlDatabase& db, const QString& surname,
                                             const QString& pupilClass, const Period& period,
                                             QString& failure)
{
    std::vector<NumberedResult> rows;
    if (failure = readPupilResults(db, surname, pupilClass, period, rows); !failure.isEmpty()) {
        return std::nullopt;
    }
    PupilHistory history;
    std::map<qint64, std::size_t> byId; // the run's place in history.runs
    for (const NumberedResult& row : rows) {
        PupilRun& run = history.runs.emplace_back();
        run.date = row.result.date;
        run.startTime = row.result.startTime;
        run.endTime = row.result.endTime;
        run.tally.runs = 1;
        run.tally.right = row.result.rightCount.value_or(0);
        run.tally.wrong = row.result.wrongCount.value_or(0);
        run.tally.lastPractised = row.result.date;
        byId[row.runId] = history.runs.size() - 1;
    }
    history.taskLogPresent = taskLogReadable(db);
    if (!history.taskLogPresent) {
        return history;
    }
    MeterTables tables;
    FillTables(tables);
    failure = readPupilTaskLog(db, surname, pupilClass, period, [&](const LoggedTask& logged) {
        if (const auto found = byId.find(logged.runId); found != byId.end()) {
            PupilRun& run = history.runs[found->second];
            countTask(run.tally, logged.task, tables);
            run.tasks.push_back(logged.task);
        }
    });
    return failure.isEmpty() ? std::optional(std::move(history)) : std::nullopt;
}

} // namespace

QString verdictText(const TaskRecord& task)
{
    switch (task.verdict) {
    case TaskVerdict::Right:
        return task.destroyed ? QStringLiteral("správně, pak měřák zničen")
                              : QStringLiteral("správně");
    case TaskVerdict::Wrong:
        return task.destroyed ? QStringLiteral("chybně, pak měřák zničen")
                              : QStringLiteral("chybně");
    case TaskVerdict::Destroyed:
        return QStringLiteral("měřák zničen");
    case TaskVerdict::Dropped:
        return QStringLiteral("měřák zničen, odpověď nepočítána");
    }
    return {};
}

QString voltsText(float volts, const QLocale& locale)
{
    return locale.toString(static_cast<double>(volts), 'g', 6) + QStringLiteral(" V");
}

bool polarityRightAtEnd(const TaskRecord& task)
{
    return task.polarityRight == (task.polarityReversals % 2 == 0);
}

std::map<double, Share> PupilHistory::byDate() const
{
    std::map<double, Share> days;
    for (const PupilRun& run : runs) {
        if (run.date) {
            Share& day = days[*run.date];
            day.right += run.tally.right;
            day.all += run.tally.right + run.tally.wrong;
        }
    }
    return days;
}

std::optional<PupilHistory> readPupilHistoryAt(const QString& location, const QString& surname,
                                               const QString& pupilClass, const Period& period,
                                               QString& failure)
{
    SchoolConnection connection(location, SchoolConnection::Access::Read);
    if (failure = schoolDatabaseProblem(location, connection); !failure.isEmpty()) {
        return std::nullopt;
    }
    std::optional<PupilHistory> history =
        readPupilHistory(connection.db(), surname, pupilClass, period, failure);
    if (!history) {
        failure = databaseFailure(QStringLiteral("Čtení výsledků žáka"), failure);
    }
    return history;
}

} // namespace voltmetr::teacher
