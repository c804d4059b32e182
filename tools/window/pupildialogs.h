#pragma once

#include "school/profile.h"

#include <QDialog>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace voltmetr::teacher {

class TeacherWindow;
struct PupilTally;

// A change of the pupil chosen in the window: renamed or moved to another class, merged into a
// listed pupil with the runs, or taken off the list with the runs kept under the name or merged
// into another pupil first. The dialog says what will happen before it is done, and shows the
// school database's refusal when it refuses; done, the window shows the class again.
class PupilEditDialog : public QDialog
{
public:
    enum class Edit
    {
        Rename,
        Merge,
        Remove
    };

    PupilEditDialog(TeacherWindow& window, Edit edit, const PupilTally& pupil);

    QLineEdit* surnameEdit() const { return m_surname; }
    QLineEdit* classEdit() const { return m_class; }
    QComboBox* otherPupil() const { return m_other; }
    QRadioButton* mergeFirst() const { return m_mergeFirst; }
    QLabel* outcome() const { return m_outcome; }
    QLabel* problem() const { return m_problem; }
    QPushButton* doButton() const { return m_do; }

private:
    // The name the pupil gets on a rename, the pupil he goes into on a merge; nothing on a
    // removal that keeps the runs.
    std::optional<Profile> target() const;
    void describe();
    void apply();

    TeacherWindow& m_window;
    Edit m_edit;
    Profile m_pupil;
    qint64 m_runs;
    std::vector<Profile> m_listed; // who the runs may go to: listed pupils but this one
    QLineEdit* m_surname = nullptr;
    QLineEdit* m_class = nullptr;
    QComboBox* m_other = nullptr;
    QRadioButton* m_mergeFirst = nullptr;
    QLabel* m_outcome;
    QLabel* m_problem;
    QPushButton* m_do;
};

// The menu "Žák": rename or move, merge, remove, each on the chosen row's pupil.
void addPupilActions(TeacherWindow& window);

} // namespace voltmetr::teacher
