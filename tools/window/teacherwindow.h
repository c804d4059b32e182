#pragma once

#include "pupiltable.h"

#include <QMainWindow>
#include <optional>

class QComboBox;
class QLabel;
class QMenu;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class QDragEnterEvent;
class QDropEvent;

namespace voltmetr::teacher {

class MailPage;
class PupilPage;
class PeriodBar;

// The teacher's window, "Voltmetr – učitel": the class at a glance. Every listed pupil of the
// chosen class (the first of the list when it opens, or all classes), those who never practised
// first, then by right share from the lowest; a click on a column orders by it, "Podle potřeby"
// goes back. The figures are the statistics of the commands; the window only shows them. The class
// is the first of its pages; the menus "Soubor" and "Žák" hold what the teacher does with the
// school database.
class TeacherWindow : public QMainWindow
{
public:
    explicit TeacherWindow(QString location, QWidget* parent = nullptr);

    // Reads the chosen class again from the school database.
    void showClass(const QString& pupilClass);
    // Reads the classes and the shown class again, after the school database changed.
    void refresh();

    const QString& location() const { return m_location; }
    // The pupil of the chosen row; nothing when no row is chosen.
    std::optional<PupilTally> currentPupil() const;

    QTableView* pupilView() const { return m_view; }
    QComboBox* classChoice() const { return m_classes; }
    PeriodBar* periodBar() const { return m_period; }
    QTabWidget* pages() const { return m_pages; }
    QMenu* fileMenu() const { return m_fileMenu; }
    QMenu* pupilMenu() const { return m_pupilMenu; }

protected:
    // Mails dropped on the window go to the page "Pošta".
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // "Všechny třídy" and the classes of the list.
    void listClasses();

    QString m_location;
    QTabWidget* m_pages;
    QMenu* m_fileMenu;
    QMenu* m_pupilMenu;
    PupilTable m_table;
    QSortFilterProxyModel* m_order;
    QComboBox* m_classes;
    PeriodBar* m_period; // the runs of which days the class shows
    QTableView* m_view;
    QLabel* m_problem;
    PupilPage* m_pupilPage;
    MailPage* m_mail;
};

} // namespace voltmetr::teacher
