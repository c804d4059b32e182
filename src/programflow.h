#pragma once

#include "ui/windowcontext.h"
#include "ui/windowflow.h"

#include <QPointer>

namespace voltmetr {

class Zkouseni;

// The program's windows in their order: the sign-in opens the exercise, the exit confirmation
// the summary, the summary of a handed-out run the report window. The flow makes itself the
// context's flow and lives as long as the context, after the state and the host it refers to:
// the exercise it opened goes with it, before them.
class ProgramFlow final : public WindowFlow
{
public:
    explicit ProgramFlow(WindowContext& context);
    ~ProgramFlow() override;
    ProgramFlow(const ProgramFlow&) = delete;
    ProgramFlow& operator=(const ProgramFlow&) = delete;

    void openExercise() override;
    void openSummary(QWidget* parent) override;
    void openTeacherReport(QWidget* parent) override;

private:
    WindowContext& m_context;
    QPointer<Zkouseni> m_exercise;
};

} // namespace voltmetr
