#pragma once

#include "mailedreports.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QMimeData;
class QPushButton;
class QTableWidget;

namespace voltmetr::teacher {

class TeacherWindow;

// The page "Pošta": the pupils' reports in the mails, mailboxes and texts the teacher drops on
// the window or opens, one row each, with whose it is and whether it is stored, and a row for
// each damaged report with the reason. A report that is no listed pupil's waits for the teacher
// to assign it to one (the pupils of its class come first) or to add its name as a new pupil;
// then the chosen reports, or all, are stored once, and the class page shows them.
class MailPage : public QWidget
{
    Q_OBJECT

public:
    enum Column
    {
        Name,
        Class,
        When,
        Right,
        Wrong,
        Owner,
        State,
        Source,
        ColumnCount
    };

    explicit MailPage(TeacherWindow& window);

    // Finds the reports in the files and lists them; returns the paths in which none was found.
    QStringList openFiles(const QStringList& paths);
    // The local files among what is dragged onto the window.
    static QStringList localFiles(const QMimeData* dragged);

    QTableWidget* reportView() const { return m_view; }
    QComboBox* pupilChoice() const { return m_pupils; }

private:
    void chooseFiles();
    void showReports();
    void offerPupilsFor(int row);
    QList<qsizetype> chosenReports() const;
    void store(const QList<qsizetype>& reports);

    TeacherWindow& m_window;
    MailedReports m_mail;
    std::vector<Profile> m_listed;
    QList<ReportStanding> m_standings;
    QTableWidget* m_view;
    QComboBox* m_pupils;
    QPushButton* m_assign;
    QPushButton* m_newPupil;
    QLabel* m_status;
};

} // namespace voltmetr::teacher
