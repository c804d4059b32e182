#pragma once

#include "pupilhistory.h"

#include <QWidget>

class QLabel;
class QStandardItemModel;
class QTableView;

namespace voltmetr::teacher {

class TaskReplay;

// The right share of a pupil's days as a line over time, from 0 to 100 %, each point in the
// colour of its band. A screen reader reads the same figures from its description.
class ProgressChart : public QWidget
{
public:
    explicit ProgressChart(QWidget* parent = nullptr);

    // The days' shares; none tells what the chart says when there is no day.
    void setDays(std::map<double, Share> days, const QString& none);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::map<double, Share> m_days; // days since 30 December 1899
};

// One pupil: what the runs came to, the progress over time, the runs, every task of the chosen
// run and the chosen task replayed. The figures are those of the statistics; the page only shows
// them.
class PupilPage : public QWidget
{
public:
    enum RunColumn
    {
        RunDate,
        RunStart,
        RunEnd,
        RunRight,
        RunWrong,
        RunShare,
        RunTasks,
        RunColumnCount
    };
    enum TaskColumn
    {
        TaskOrder,
        TaskMeter,
        TaskVoltage,
        TaskBestRange,
        TaskRangeUsed,
        TaskRangeChanges,
        TaskReversals,
        TaskOverloads,
        TaskAnswer,
        TaskVerdictText,
        TaskCause,
        TaskSeconds,
        TaskColumnCount
    };

    explicit PupilPage(QString location, QWidget* parent = nullptr);

    // Reads the pupil's runs in the period again from the school database and shows the latest.
    void showPupil(const QString& surname, const QString& pupilClass, const Period& period);
    // The pupil shown, read again in another period.
    void showPeriod(const Period& period) { showPupil(m_surname, m_class, period); }

    QTableView* runsView() const { return m_runsView; }
    QTableView* tasksView() const { return m_tasksView; }
    ProgressChart* chart() const { return m_chart; }
    TaskReplay* replay() const { return m_replay; }
    QLabel* summary() const { return m_summary; }

private:
    void showRun(int row);
    void showTask(int row);

    QString m_location;
    QString m_surname;
    QString m_class;
    PupilHistory m_history;
    QLabel* m_summary;
    ProgressChart* m_chart;
    QStandardItemModel* m_runs;
    QStandardItemModel* m_tasks;
    QTableView* m_runsView;
    QTableView* m_tasksView;
    TaskReplay* m_replay;
    int m_shownRun = -1;
};

} // namespace voltmetr::teacher
