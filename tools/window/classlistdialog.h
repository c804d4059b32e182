#pragma once

#include "classlist.h"

#include <QByteArray>
#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace voltmetr::teacher {

class TeacherWindow;

// A class list before it is added: its encoding, who will be added and who is listed already,
// every line left out with its reason and every class written otherwise than its unified name.
// Nothing is written before "Přidat". A list whose columns cannot be told apart shows its first
// lines, and "Přidat" waits until the teacher has named the surname's and the class's column.
// After adding, the window shows the class again and says what adding came to.
class ClassListDialog : public QDialog
{
public:
    ClassListDialog(TeacherWindow& window, const QString& path, QByteArray bytes);

    QComboBox* surnameColumn() const { return m_surnameColumn; }
    QComboBox* classColumn() const { return m_classColumn; }
    QTableWidget* pupilsView() const { return m_pupils; }
    QPushButton* addButton() const { return m_add; }

private:
    void showColumnsToName(const ClassList& list);
    void readList();
    void add();

    TeacherWindow& m_window;
    QByteArray m_bytes;
    ClassList m_list; // as read with the columns named so far
    QLabel* m_source;
    QGroupBox* m_columns;
    QTableWidget* m_firstLines;
    QComboBox* m_surnameColumn;
    QComboBox* m_classColumn;
    QLabel* m_problem;
    QLabel* m_summary;
    QTableWidget* m_pupils;
    QListWidget* m_notes;
    QPushButton* m_add;
};

// Reads the class list at path and shows it in the preview, or tells the teacher why it cannot
// be read.
void openClassListFile(TeacherWindow& window, const QString& path);

// "Soubor > Otevřít seznam třídy…", at the head of the window's file menu.
void addClassListAction(TeacherWindow& window);

} // namespace voltmetr::teacher
