#pragma once

#include "exercise/exercise.h"
#include "ui/windowcontext.h"

#include <QDialog>

namespace voltmetr {

// "Opravdu chceš skončit ?": freezes the exercise's timers while it is open. "&Ne" (also Esc
// and a close by the desktop) puts them back as they stood; "&Ano" closes it and asks the
// window flow for the summary, which ends the program.
class Konec : public QDialog
{
    Q_OBJECT
public:
    Konec(WindowContext& context, Exercise& exercise, QWidget* parent = nullptr);

    // True once the pupil chose "&Ano".
    bool endChosen() const { return m_endChosen; }

    void Command1_Click();
    void Command2_Click();
    void reject() override;

private:
    WindowContext& m_context;
    Exercise& m_exercise;
    TimerStates m_saved;
    bool m_endChosen = false;
};

} // namespace voltmetr
