#include "exercise/answerfeedback.h"

#include "ui/designelements.h"
#include "ui/twips.h"

#include <QPushButton>

namespace voltmetr {

AnswerFeedback::AnswerFeedback(AskToEnd askToEnd, QWidget* parent)
    : QDialog(parent, fixedDialogFlags), m_askToEnd(std::move(askToEnd))
{
}

void AnswerFeedback::addButtons(const QRect& continueButton, const QRect& endButton)
{
    const QFont font = designFont(QStringLiteral("MS Sans Serif"), 13.5, true);
    auto* command1 = makeButton(*this, QStringLiteral("Command1"), QStringLiteral("&Pokračovat"),
                                continueButton.x(), continueButton.y(), continueButton.width(),
                                continueButton.height(), font);
    auto* command2 =
        makeButton(*this, QStringLiteral("Command2"), QStringLiteral("&Konec"), endButton.x(),
                   endButton.y(), endButton.width(), endButton.height(), font);
    command1->setDefault(true);
    setTabOrder(command1, command2);
    command1->setFocus();
    connect(command1, &QPushButton::clicked, this, &AnswerFeedback::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &AnswerFeedback::Command2_Click);
}

void AnswerFeedback::Command1_Click()
{
    accept();
}

void AnswerFeedback::Command2_Click()
{
    if (m_askToEnd(*this)) {
        m_programEnded = true;
        QDialog::reject();
    }
}

// Esc and a close by the desktop both mean "&Konec".
void AnswerFeedback::reject()
{
    Command2_Click();
}

} // namespace voltmetr
