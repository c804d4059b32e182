#include "taskstatistics.h"

#include "app/procedury.h"
#include "czechorder.h"
#include "school/failurereason.h"
#include "school/tasklogstore.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace voltmetr::teacher {

namespace {

// The catalogue's meters differ in their divisions, so the divisions a task stored name its
// meter.
const MeterType* meterWithDivisions(const MeterTables& tables, int divisions)
{
    for (int meterNo = 1; meterNo <= tables.Meters.size(); ++meterNo) {
        if (tables.Meters[meterNo].divisions == divisions) {
            return &tables.Meters[meterNo];
        }
    }
    return nullptr;
}

bool runQuery(QSqlQuery& query, const QString& statement, const QString& pupilClass,
              QString& failure)
{
    query.setForwardOnly(true);
    if (!query.prepare(statement)) {
        failure = databaseFailureReason(query.lastError());
        return false;
    }
    if (!pupilClass.isEmpty()) {
        query.addBindValue(pupilClass);
    }
    if (!query.exec()) {
        failure = databaseFailureReason(query.lastError());
        return false;
    }
    return true;
}

using PupilKey = std::pair<QString, QString>; // surname, class

} // namespace

std::optional<double> Tally::rightShare() const
{
    if (right + wrong == 0) {
        return std::nullopt;
    }
    return static_cast<double>(right) / static_cast<double>(right + wrong);
}

std::optional<double> Tally::secondsPerTask() const
{
    if (tasks == 0) {
        return std::nullopt;
    }
    return seconds / static_cast<double>(tasks);
}

QStringList tallyHeadings()
{
    QStringList headings{QStringLiteral("Cvičení"), QStringLiteral("Úlohy"),
                         QStringLiteral("Úspěšnost"), QStringLiteral("Zničené měřáky"),
                         QStringLiteral("Čas na úlohu")};
    for (int kind = 1; kind <= MistakeKindCount; ++kind) {
        headings << mistakeKindName(static_cast<MistakeKind>(kind));
    }
    return headings;
}

QString percentText(double share, const QLocale& locale)
{
    return locale.toString(share * 100, 'f', 1) + QStringLiteral(" %");
}

QStringList tallyCells(const Tally& tally, const QLocale& locale)
{
    const QString unknown = QStringLiteral("–");
    const std::optional<double> share = tally.rightShare();
    const std::optional<double> perTask = tally.secondsPerTask();
    QStringList cells{QString::number(tally.runs), QString::number(tally.tasks),
                      share ? percentText(*share, locale) : unknown,
                      QString::number(tally.destroyed),
                      perTask ? locale.toString(*perTask, 'f', 1) + QStringLiteral(" s") : unknown};
    for (const qint64 count : tally.mistakes) {
        cells << QString::number(count);
    }
    return cells;
}

std::optional<ClassStatistics> readStatistics(QSqlDatabase& db, const QString& pupilClass,
                                              QString& failure)
{
    const QString onlyClass =
        pupilClass.isEmpty() ? QString() : QStringLiteral(R"( WHERE r."Trida" = ?)");
    std::map<PupilKey, Tally> pupils;
    ClassStatistics statistics;

    QSqlQuery runs(db);
    if (!runQuery(runs,
                  QStringLiteral(R"(SELECT COALESCE(r."Prijmeni", ''), COALESCE(r."Trida", ''),)"
                                 R"( r."Datum", COALESCE(r."Spravne", 0), COALESCE(r."Chybne", 0))"
                                 R"( FROM "Prehled " r%1)")
                      .arg(onlyClass),
                  pupilClass, failure)) {
        return std::nullopt;
    }
    while (runs.next()) {
        Tally& tally = pupils[{runs.value(0).toString(), runs.value(1).toString()}];
        const qint64 right = runs.value(3).toLongLong();
        const qint64 wrong = runs.value(4).toLongLong();
        ++tally.runs;
        tally.right += right;
        tally.wrong += wrong;
        if (!runs.value(2).isNull()) {
            Share& day = statistics.byDate[runs.value(2).toDouble()];
            day.right += right;
            day.all += right + wrong;
        }
    }

    // Asked of the catalogue first, so that an older database gives no error to log.
    statistics.taskLogPresent =
        !db.record(QString::fromLatin1(TaskLogTable)).isEmpty() && checkTaskLogTable(db).isEmpty();
    if (statistics.taskLogPresent) {
        MeterTables tables;
        FillTables(tables);
        QSqlQuery tasks(db);
        if (!runQuery(
                tasks,
                QStringLiteral(R"(SELECT COALESCE(r."Prijmeni", ''), COALESCE(r."Trida", ''),)"
                               R"( %1 FROM "Ulohy" JOIN "Prehled " r)"
                               R"( ON r.rowid = "Ulohy"."Beh"%2)")
                    .arg(taskLogColumns(), onlyClass),
                pupilClass, failure)) {
            return std::nullopt;
        }
        while (tasks.next()) {
            Tally& tally = pupils[{tasks.value(0).toString(), tasks.value(1).toString()}];
            const TaskRecord task = taskRecordAt(tasks, 2);
            ++tally.tasks;
            tally.seconds += task.seconds;
            tally.destroyed += task.destroyed ? 1 : 0;
            const bool judged =
                task.verdict == TaskVerdict::Right || task.verdict == TaskVerdict::Wrong;
            if (judged) {
                Share& meter = statistics.byMeter[task.divisions];
                meter.right += task.verdict == TaskVerdict::Right ? 1 : 0;
                ++meter.all;
            }
            const MeterType* meter = meterWithDivisions(tables, task.divisions);
            if (task.verdict == TaskVerdict::Wrong && task.valueRead && meter) {
                const MistakeKind kind =
                    mistakeKind(*task.valueRead, task.voltage, *meter, task.rangeInUse);
                ++tally.mistakes[static_cast<std::size_t>(kind) - 1];
            }
        }
    }

    const auto add = [](Tally& sum, const Tally& part) {
        sum.runs += part.runs;
        sum.right += part.right;
        sum.wrong += part.wrong;
        sum.tasks += part.tasks;
        sum.destroyed += part.destroyed;
        sum.seconds += part.seconds;
        for (std::size_t kind = 0; kind < sum.mistakes.size(); ++kind) {
            sum.mistakes[kind] += part.mistakes[kind];
        }
    };
    for (const auto& [key, tally] : pupils) {
        statistics.pupils.append({key.first, key.second, tally});
        add(statistics.classes[key.second], tally);
        add(statistics.all, tally);
    }
    sortByClassThenSurname(statistics.pupils);
    return statistics;
}

} // namespace voltmetr::teacher
