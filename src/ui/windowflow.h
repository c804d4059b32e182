#pragma once

class QWidget;

namespace voltmetr {

// Which window follows which. A window never creates the next one: it asks the flow, which
// whoever composes the program implements.
class WindowFlow
{
public:
    virtual ~WindowFlow() = default;

    // After the sign-in: the exercise, which lives until the program ends.
    virtual void openExercise() = 0;
    // After "Ano" in the exit confirmation: the summary of the run, modal over parent.
    virtual void openSummary(QWidget* parent) = 0;
    // After the summary of a run that is handed out: the report window, modal over parent.
    virtual void openTeacherReport(QWidget* parent) = 0;

protected:
    WindowFlow() = default;
    WindowFlow(const WindowFlow&) = default;
    WindowFlow& operator=(const WindowFlow&) = default;
};

} // namespace voltmetr
