#pragma once

#include "app/tasklog.h"
#include "exercise/mistakekind.h"
#include "school/classname.h"
#include "school/period.h"
#include "school/schooldatabase.h"
#include "school/taskcause.h"
#include "shareformat.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <optional>

namespace voltmetr::teacher {

// What a set of runs and their tasks came to. Runs and the counts of right and wrong answers
// come from the results, so that runs stored before the task log existed count too; everything
// about single tasks comes from the task log.
struct Tally
{
    qint64 runs = 0;
    qint64 right = 0; // answers, as the runs counted them
    qint64 wrong = 0; // destroyed meters included
    qint64 tasks = 0; // in the task log
    qint64 destroyed = 0;
    double seconds = 0;                                 // spent on the logged tasks
    std::array<qint64, MistakeKindCount> mistakes = {}; // wrong answers by likeliest cause
    std::optional<double> lastPractised; // the latest run's date (days since 30 December 1899)

    // Adds another set of runs: every count, and the later of the two last practices.
    void add(const Tally& part);

    // Right answers of all answers, 0..1; nothing when there was no answer.
    std::optional<double> rightShare() const;
    std::optional<double> secondsPerTask() const;
    // The cause of most wrong answers, the first in the list of causes when two tie; nothing
    // without a logged wrong answer.
    std::optional<MistakeKind> mostFrequentMistake() const;
    // A pupil of the list without a single run (in the period read).
    bool neverPractised() const { return runs == 0; }
};

struct PupilTally
{
    QString surname;
    QString pupilClass;
    Tally tally;
};

// Right and wrong answers on one day, or on one meter.
struct Share
{
    qint64 right = 0;
    qint64 all = 0;

    // Right answers of all, 0..1; nothing when there was no answer.
    std::optional<double> rightShare() const { return teacher::rightShare(right, all - right); }
};

// The answers one logged task adds to the right share: its judged answer, and a wrong one for
// a destroyed meter, also when the meter was destroyed after the answer had been judged. So the
// tasks of a run add up to the run's own counts.
Share answersOf(const TaskRecord& task);

// The likeliest cause of a logged wrong answer; nothing for a task without a judged wrong
// answer, or on a meter the catalogue does not hold.
std::optional<MistakeKind> likeliestCause(const TaskRecord& task, const MeterTables& tables);

// The likeliest cause as the conditions a server works it out by, as each task is written.
TaskCauseRule likeliestCauseRule(const MeterTables& tables);

// Gives a server's task log the likeliest causes, or works them out anew after the rule changed;
// on a file does nothing. `changes` says in Czech what changed. Empty on success, else the reason.
QString bringLikeliestCausesUpToDate(QSqlDatabase& db, QStringList& changes);

// Adds one logged task to the tally: the task, its seconds, a destroyed meter, and the likeliest
// cause of a wrong answer.
void countTask(Tally& tally, const TaskRecord& task, const MeterTables& tables);

struct ClassStatistics
{
    QList<PupilTally> pupils; // every listed pupil and whoever else has runs, as sortByNeed says
    std::map<QString, Tally, ClassNameOrder> classes;
    Tally all;
    std::map<double, Share> byDate; // the run's date (days since 30 December 1899), when asked
    std::map<int, Share>
        byMeter; // the meter's divisions; the answers of the logged tasks, when asked
    bool taskLogPresent = false; // false in a database made before the task log existed
};

// The headings of a tally's figures, then the texts of its figures in the same order: runs,
// tasks, right share, destroyed meters, seconds per task, then the wrong answers by each
// likeliest cause. A figure that cannot be told (no answer, no logged task) reads "–". The
// causes' names are long: their columns are headed "Ch1" to "Ch6", which the legend names.
QStringList tallyHeadings();
QStringList tallyCells(const Tally& tally, const QLocale& locale);
QString mistakeColumnsLegend();

// A day as the teacher's outputs write it: "4. 12. 2026".
QString dayText(const QDate& day);

// The period as the teacher reads it: "od 1. 9. 2026 do 31. 8. 2027", "od 1. 9. 2026",
// "do 31. 8. 2027", or "celé období".
QString periodText(const Period& period);

// What stands in place of the figures of a pupil who never practised.
QString neverPractisedMark();

// What statistics to read: of one class or of all when pupilClass is empty, of the runs in the
// period; in Czech order by class, then surname, or by need when byNeed. The shares by day and by
// meter, which only the overview's charts show, when charts.
struct StatisticsQuery
{
    QString pupilClass;
    Period period;
    bool byNeed = false;
    bool charts = false;
};

// Reads the results and the task log as query asks. Nothing, with the reason in failure, when the
// database could not be read. The pupils of the list are all there, those without a run in the
// period with nothing counted.
std::optional<ClassStatistics> readStatistics(QSqlDatabase& db, const StatisticsQuery& query,
                                              QString& failure);

// readStatistics of the school database at location, opened for reading and closed again.
// Nothing, with the teacher's Czech reason in failure, when the database cannot be used or read.
std::optional<ClassStatistics> readStatisticsAt(const QString& location,
                                                const StatisticsQuery& query, QString& failure);

// The classes of the class list at location, each once, in the order a school lists them; empty,
// with the teacher's Czech reason in failure, when the database cannot be used or read. Cheap
// beside readStatisticsAt: a window lists the classes without reading a single run.
QStringList readListedClassesAt(const QString& location, QString& failure);

// Who needs the teacher first: pupils who never practised, then those who practised without
// answering, then by right share from the lowest. Pupils of equal need keep their order.
void sortByNeed(QList<PupilTally>& pupils);

} // namespace voltmetr::teacher
