#pragma once

#include "app/tasklog.h"
#include "school/period.h"
#include "school/sqlnumber.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace voltmetr {

// On a server the task log carries the likeliest cause of each wrong answer in a column of its
// own ("Pricina"), which the server works out as each task is written, for the pupils' program
// of any version. A school's statistics then count the causes in the server, instead of bringing
// every wrong answer to the teacher's computer. A file has no such column: the teacher's
// computer reads a file's tasks as fast as the file gives them.

// How the cause of a wrong answer is told, as conditions on the task's columns: per meter of the
// catalogue, the causes in the order they are tried, each with the condition under which it
// holds; `otherwise` when none holds. A task without a judged wrong answer, or on a meter the
// rule does not know, has no cause.
struct TaskCauseRule
{
    struct Meter
    {
        int divisions = 0;
        std::vector<std::pair<int, QString>> causes;
    };
    std::vector<Meter> meters;
    int otherwise = 0;

    // The task's columns that the conditions are written with.
    static SqlNumber voltage();
    static SqlNumber rangeInUse();
    static SqlNumber answer();
};

// Gives a server's task log the column of causes worked out by the rule, or works it out anew
// when the rule has changed since, in one transaction; on a file does nothing. `changes` says in
// Czech what changed. Empty on success, else the reason.
QString bringTaskCausesUpToDate(QSqlDatabase& db, const TaskCauseRule& rule, QStringList& changes);

// Whether the task log holds the causes as the rule works them out now.
bool taskCausesCurrent(QSqlDatabase& db, const TaskCauseRule& rule);

// What one pupil's runs in the period and their logged tasks come to.
struct PupilSummary
{
    QString surname; // a NULL surname or class reads as empty text
    QString pupilClass;
    qint64 runs = 0;
    qint64 right = 0; // answers, as the runs counted them
    qint64 wrong = 0;
    std::optional<double> lastRun; // the latest run's date; none when no run has one
    qint64 tasks = 0;              // in the task log
    double seconds = 0;
    qint64 destroyed = 0;
    std::vector<qint64> causes; // wrong answers of causes 1, 2, …
};

// Hands each the totals of each pupil with a run of one class (of all when className is empty)
// in the period, added up by the database in one statement, the wrong answers counted by the
// first causeCount causes of the column of causes, which taskCausesCurrent must have found
// current. Empty on success, else the reason.
QString readPupilSummary(QSqlDatabase& db, const QString& className, const Period& period,
                        int causeCount, const std::function<void(const PupilSummary&)>& each);

// Hands each the number of logged tasks of those runs of each meter, verdict and destruction
// (the task's divisions, verdict and destroyed set, the rest as a TaskRecord leaves them).
QString readTasksByMeter(QSqlDatabase& db, const QString& className, const Period& period,
                         const std::function<void(const TaskRecord&, qint64 count)>& each);

} // namespace voltmetr
