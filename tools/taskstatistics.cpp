#include "taskstatistics.h"

#include "app/procedury.h"
#include "czechorder.h"
#include "school/runstore.h"
#include "school/tasklogstore.h"

#include <QLocale>
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

using PupilKey = std::pair<QString, QString>; // surname, class

} // namespace

std::optional<double> Tally::rightShare() const
{
    return teacher::rightShare(right, wrong);
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

std::optional<ClassStatistics> readStatistics(QSqlDatabase& db, const QString& pupilClass,
                                              QString& failure)
{
    std::map<PupilKey, Tally> pupils;
    ClassStatistics statistics;

    std::vector<PupilDayTotals> days;
    if (failure = readPupilDayTotals(db, pupilClass, days); !failure.isEmpty()) {
        return std::nullopt;
    }
    for (const PupilDayTotals& day : days) {
        Tally& tally = pupils[{day.surname, day.className}];
        const qint64 right = day.totals.rightCount;
        const qint64 wrong = day.totals.wrongCount;
        tally.runs += day.runs;
        tally.right += right;
        tally.wrong += wrong;
        if (day.date) {
            Share& share = statistics.byDate[*day.date];
            share.right += right;
            share.all += right + wrong;
        }
    }

    statistics.taskLogPresent = taskLogReadable(db);
    if (statistics.taskLogPresent) {
        MeterTables tables;
        FillTables(tables);
        const auto tallyTask = [&](const LoggedTask& logged) {
            const TaskRecord& task = logged.task;
            Tally& tally = pupils[{logged.surname, logged.className}];
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
        };
        if (failure = readTaskLog(db, pupilClass, tallyTask); !failure.isEmpty()) {
            return std::nullopt;
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
