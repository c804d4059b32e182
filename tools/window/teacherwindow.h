#pragma once

#include "pupiltable.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace voltmetr::teacher {

// The teacher's window, "Voltmetr – učitel": the class at a glance. Every listed pupil of the
// chosen class (the first of the list when it opens, or all classes), those who never practised first, then by right share from
// the lowest; a click on a column orders by it, "Podle potřeby" goes back. The figures are the
// statistics of the commands; the window only shows them.
class TeacherWindow : public QWidget
{
public:
    explicit TeacherWindow(QString location, QWidget* parent = nullptr);

    // Reads the chosen class again from the school database.
    void showClass(const QString& pupilClass);

    QTableView* pupilView() const { return m_view; }
    QComboBox* classChoice() const { return m_classes; }

private:
    QString m_location;
    PupilTable m_table;
    QSortFilterProxyModel* m_order;
    QComboBox* m_classes;
    QTableView* m_view;
    QLabel* m_problem;
};

} // namespace voltmetr::teacher
