#pragma once

#include "ui/windowcontext.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace voltmetr {

// The first window: the pupil picks a profile of the school database (school-server mode) or
// types name and class (e-mail mode), then the exercise starts.
class Welcome : public QDialog
{
    Q_OBJECT
public:
    explicit Welcome(WindowContext& context, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void LoadProfiles();
    void ApplyMode();
    void Confirm();
    void showAbout();

    WindowContext& m_context;
    QRadioButton* m_schoolMode;
    QLabel* m_usersLabel;
    QComboBox* m_users;
    QRadioButton* m_emailMode;
    QLabel* m_nameLabel;
    QLineEdit* m_name;
    QLabel* m_classLabel;
    QLineEdit* m_class;
};

} // namespace voltmetr
