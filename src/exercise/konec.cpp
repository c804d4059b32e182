#include "exercise/konec.h"

#include "ui/designelements.h"
#include "ui/twips.h"

#include <QPushButton>

namespace voltmetr {

Konec::Konec(WindowContext& context, Exercise& exercise, QWidget* parent)
    : QDialog(parent, fixedDialogFlags), m_context(context), m_exercise(exercise),
      m_saved(exercise.pauseTimers())
{
    setWindowTitle(QStringLiteral("Konec ?"));
    setFixedClientTwips(*this, 3015, 1230);
    makeLabel(*this, {QStringLiteral("Label1"), QStringLiteral("Opravdu chceš skončit ?"), 120, 120,
                      2730, 300, designFont(QStringLiteral("MS Sans Serif"), 12)});
    const QFont buttonFont = designFont(QStringLiteral("MS Sans Serif"), 12, true);
    auto* command1 = makeButton(*this, QStringLiteral("Command1"), QStringLiteral("&Ano"), 120, 600,
                                1335, 495, buttonFont);
    auto* command2 = makeButton(*this, QStringLiteral("Command2"), QStringLiteral("&Ne"), 1560, 600,
                                1335, 495, buttonFont);
    // "&Ne" has the focus, so Enter also stays in the exercise.
    command2->setDefault(true);
    setTabOrder(command2, command1);
    command2->setFocus();
    connect(command1, &QPushButton::clicked, this, &Konec::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &Konec::Command2_Click);
}

void Konec::Command1_Click()
{
    m_endChosen = true;
    QDialog::accept();
    m_context.flow().openSummary(parentWidget());
}

void Konec::Command2_Click()
{
    m_exercise.resumeTimers(m_saved);
    QDialog::reject();
}

void Konec::reject()
{
    Command2_Click();
}

} // namespace voltmetr
