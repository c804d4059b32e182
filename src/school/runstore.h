#pragma once

#include "school/period.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace voltmetr {

// The runs in "Prehled ", one row per finished school-server run, and what they add up to.

// One finished school-server run as "Prehled " stores it. Times are days since
// 30 December 1899: startTime and endTime carry the time of day only, date the date only.
struct ResultRow
{
    QString surname;
    QString className;
    std::int32_t rightCount = 0;
    std::int32_t wrongCount = 0;
    double startTime = 0;
    double endTime = 0;
    double date = 0;
    QString loginName;
    int examType = 0;
};

// The row's values in the order of its columns; a NULL text as empty text.
QVariantList resultRowValues(const ResultRow& row);

// Appends one row to "Prehled " inside the caller's transaction and sets runId to its rowid, by
// which the task log names its run. Empty on success, else the reason.
QString insertResultRow(QSqlDatabase& db, const ResultRow& row, qint64& runId);

// Sets stored to whether "Prehled " holds the run already: the same surname, class and counts,
// ended on the same date, started and ended in the same minutes as `run` (a report tells no
// seconds). Each time counts as the minute it shows when read to the millisecond, so 08:45:00
// stored a hair below it is 08:45, not 08:44. Runs inside the caller's transaction. Empty on
// success, else the reason.
QString readRunStored(QSqlDatabase& db, const ResultRow& run, bool& stored);

// Right and wrong answers added up over runs. A run whose count is NULL (a row the
// administrator entered by hand) adds nothing to that count.
struct PupilTotals
{
    std::int64_t rightCount = 0;
    std::int64_t wrongCount = 0;

    friend bool operator==(const PupilTotals&, const PupilTotals&) = default;
};

// The statement that adds up the runs of one surname, given as an expression of the statement
// (a placeholder, or a value the statement computes): the right and the wrong answers.
QString pupilTotalsStatement(const QString& surname);

// Reads the totals of every run ever stored under one surname, whatever the class or the date.
// Empty on success, else the reason.
QString readPupilTotals(QSqlDatabase& db, const QString& surname, PupilTotals& totals);

// The two statements of a pupil's save, insertResultRow's and readPupilTotals's, prepared
// before the write lock is taken: a computer holding the school file's lock then only runs
// them, and the rest of the class waits the shorter.
class RunStatements
{
public:
    explicit RunStatements(QSqlDatabase& db);

    // Empty when both statements are ready, else the reason.
    const QString& failure() const { return m_failure; }

    QString insertRow(const ResultRow& row, qint64& runId);
    QString readTotals(const QString& surname, PupilTotals& totals);

private:
    QSqlQuery m_insert;
    QSqlQuery m_totals;
    QString m_failure;
};

// Which runs a statement on "Prehled " reads: those of one class (of all when className is empty)
// whose date lies in the period. The condition with its leading WHERE, empty when every run is
// wanted; its bound values are appended to values.
QString runsWhere(const QString& className, const Period& period, QVariantList& values);
// The same of one pupil's runs: surname and class as stored, NULL as empty text.
QString pupilRunsWhere(const QString& surname, const QString& className, const Period& period,
                       QVariantList& values);

// Hands each the right and the wrong answers, as the runs counted them, of the runs of one class
// (of all when className is empty) in the period on each date that a run has (days since
// 30 December 1899). Empty on success, else the reason.
QString readAnswersByDate(QSqlDatabase& db, const QString& className, const Period& period,
                          const std::function<void(double date, qint64 right, qint64 wrong)>& each);

// One run as the statistics count it. A NULL surname or class reads as empty text, a NULL date as
// none.
struct RunTotals
{
    qint64 id = 0; // the rowid, by which the task log names the run
    QString surname;
    QString className;
    std::optional<double> date; // days since 30 December 1899
    PupilTotals totals;
};

// The runs of one class, or of all when className is empty, in the period, in no particular order.
// Empty on success, else the reason.
QString readRuns(QSqlDatabase& db, const QString& className, const Period& period,
                 std::vector<RunTotals>& runs);

// One pupil's runs of all dates; a pupil of the list who has not practised yet has none.
struct PupilRunTotals
{
    QString surname;
    QString className;
    std::int64_t runs = 0;
    PupilTotals totals;
};

// Every pupil of the class (of all when className is empty) with results, then every pupil of
// the list without any, each once, in no particular order. Empty on success, else the reason.
QString readClassTotals(QSqlDatabase& db, const QString& className,
                        std::vector<PupilRunTotals>& pupils);

// A row of "Prehled " as it stands, a NULL field as none.
struct StoredResult
{
    QString surname; // NULL reads as empty text, as do className and loginName
    QString className;
    std::optional<std::int64_t> rightCount;
    std::optional<std::int64_t> wrongCount;
    std::optional<double> startTime;
    std::optional<double> endTime;
    std::optional<double> date;
    QString loginName;
    std::optional<std::int64_t> examType;
};

// Every row of "Prehled " of one class (of all when className is empty) in the period, in the
// order the rows were stored. Empty on success, else the reason.
QString readStoredResults(QSqlDatabase& db, std::vector<StoredResult>& rows,
                          const QString& className = {}, const Period& period = {});

// A row of "Prehled " with the rowid by which the task log names its run.
struct NumberedResult
{
    qint64 runId = 0;
    StoredResult result;
};

// The runs of one pupil in the period, surname and class as stored (NULL as empty text), by date
// and start, those without either first. Empty on success, else the reason.
QString readPupilResults(QSqlDatabase& db, const QString& surname, const QString& className,
                         const Period& period, std::vector<NumberedResult>& rows);

} // namespace voltmetr
