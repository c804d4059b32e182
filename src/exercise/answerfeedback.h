#pragma once

#include <QDialog>
#include <QFont>
#include <functional>

class QPushButton;

namespace voltmetr {

// What Dobry and Spatny share: "&Pokračovat" (Enter) closes the window and the exercise goes
// on; "&Konec" (Esc, or the desktop closing the window) asks whether to end, and the window
// stays in front unless the pupil ends the program.
class AnswerFeedback : public QDialog
{
    Q_OBJECT
public:
    // Asks the exit question over owner; true when the pupil chose to end.
    using AskToEnd = std::function<bool(QWidget& owner)>;

    // True when the pupil ended the program from this window: the exercise must not go on.
    bool programEnded() const { return m_programEnded; }

    void Command1_Click();
    void Command2_Click();
    void reject() override;

protected:
    AnswerFeedback(AskToEnd askToEnd, QWidget* parent);
    // Both buttons in twips: (left, top, width, height) each.
    void addButtons(const QRect& continueButton, const QRect& endButton);

private:
    AskToEnd m_askToEnd;
    bool m_programEnded = false;
};

} // namespace voltmetr
