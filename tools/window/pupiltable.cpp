#include "pupiltable.h"

#include "app/oledate.h"
#include "shareformat.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace voltmetr::teacher {

PupilTable::PupilTable(QObject* parent) : QAbstractTableModel(parent) {}

void PupilTable::setPupils(QList<PupilTally> pupils)
{
    beginResetModel();
    m_pupils = std::move(pupils);
    endResetModel();
}

int PupilTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_pupils.size());
}

int PupilTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PupilTable::text(const Tally& tally, int column) const
{
    switch (column) {
    case Runs:
        return m_locale.toString(tally.runs);
    case Tasks:
        return m_locale.toString(tally.tasks);
    case RightShare:
        return rightShareText(tally.right, tally.wrong, m_locale);
    case Destroyed:
        return m_locale.toString(tally.destroyed);
    case LastPractised:
        return tally.lastPractised ? dayText(fromOleDate(*tally.lastPractised).date())
                                   : QStringLiteral("–");
    case CommonMistake: {
        const std::optional<MistakeKind> kind = tally.mostFrequentMistake();
        return kind ? mistakeKindName(*kind) : QStringLiteral("–");
    }
    }
    return {};
}

QVariant PupilTable::sortValue(const PupilTally& pupil, int column) const
{
    const Tally& tally = pupil.tally;
    switch (column) {
    case Surname:
        return pupil.surname;
    case Class:
        return pupil.pupilClass;
    case Runs:
        return tally.runs;
    case Tasks:
        return tally.tasks;
    case RightShare:
        return tally.rightShare().value_or(-1.0);
    case Destroyed:
        return tally.destroyed;
    case LastPractised:
        return tally.lastPractised.value_or(0.0);
    }
    return text(tally, column);
}

QVariant PupilTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_pupils.size()) {
        return {};
    }
    const PupilTally& pupil = m_pupils[index.row()];
    const int column = index.column();
    const bool figure = column >= Runs;
    switch (role) {
    case Qt::DisplayRole:
        if (column == Surname) {
            return pupil.surname;
        }
        if (column == Class) {
            return pupil.pupilClass;
        }
        if (pupil.tally.neverPractised()) {
            return column == Runs ? neverPractisedMark() : QVariant();
        }
        return text(pupil.tally, column);
    case Qt::ForegroundRole:
        if (pupil.tally.neverPractised() && column == Runs) {
            return QBrush(QColor(shareBandColour(ShareBand::Weak)));
        }
        if (column == RightShare && pupil.tally.rightShare()) {
            return QBrush(QColor(shareBandColour(shareBand(*pupil.tally.rightShare()))));
        }
        return {};
    case Qt::FontRole:
        if (pupil.tally.neverPractised() && column == Runs) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        return {};
    case Qt::TextAlignmentRole:
        return figure && column != CommonMistake && column != LastPractised
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case SortRole:
        return sortValue(pupil, column);
    }
    return {};
}

QVariant PupilTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const headings[] = {
        "Příjmení",  "Třída",          "Cvičení",          "Úlohy",
        "Úspěšnost", "Zničené měřáky", "Naposledy cvičil", "Nejčastější chyba"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(headings[section])
                                                 : QVariant();
}

} // namespace voltmetr::teacher
