#include "programflow.h"

#include "exercise/zkouseni.h"
#include "results/genlist.h"
#include "results/souhrn.h"

namespace voltmetr {

ProgramFlow::ProgramFlow(WindowContext& context) : m_context(context)
{
    m_context.next = this;
}

ProgramFlow::~ProgramFlow()
{
    delete m_exercise.data();
    if (m_context.next == this) {
        m_context.next = nullptr;
    }
}

void ProgramFlow::openExercise()
{
    delete m_exercise.data();
    m_exercise = new Zkouseni(m_context);
    m_exercise->setAttribute(Qt::WA_DeleteOnClose);
    m_exercise->show();
}

void ProgramFlow::openSummary(QWidget* parent)
{
    Souhrn summary(m_context, parent);
    m_context.host.showModal(summary);
}

void ProgramFlow::openTeacherReport(QWidget* parent)
{
    GenList report(m_context, parent);
    m_context.host.showModal(report);
}

} // namespace voltmetr
