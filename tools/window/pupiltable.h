#pragma once

#include "taskstatistics.h"

#include <QAbstractTableModel>
#include <QLocale>

namespace voltmetr::teacher {

// The pupils of a class at a glance, one row each in the order the statistics give (by need),
// with the figures the commands print: runs, tasks, right share, destroyed meters, last
// practice, the most frequent cause of a wrong answer. A pupil who never practised is marked in
// place of the figures. Each cell also gives a value to sort by (SortRole), so that a click on a
// column orders the pupils by that figure rather than by its text.
class PupilTable : public QAbstractTableModel
{
public:
    enum Column
    {
        Surname,
        Class,
        Runs,
        Tasks,
        RightShare,
        Destroyed,
        LastPractised,
        CommonMistake,
        ColumnCount
    };
    static constexpr int SortRole = Qt::UserRole;

    explicit PupilTable(QObject* parent = nullptr);

    void setPupils(QList<PupilTally> pupils);
    const PupilTally& pupil(int row) const { return m_pupils.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant text(const Tally& tally, int column) const;
    QVariant sortValue(const PupilTally& pupil, int column) const;

    QList<PupilTally> m_pupils;
    QLocale m_locale{QLocale::Czech};
};

} // namespace voltmetr::teacher
