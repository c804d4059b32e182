#include "dialogparts.h"

#include "shareformat.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

namespace voltmetr::teacher {

QLabel* labelFor(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString(text).remove(u'&').remove(u':'));
    return label;
}

QLabel* problemLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color:%1").arg(shareBandColour(ShareBand::Weak)));
    label->hide();
    return label;
}

void showProblem(QLabel* label, const QString& problem)
{
    label->setText(problem);
    label->setVisible(!problem.isEmpty());
}

QDialogButtonBox* actionButtons(QDialog* dialog, QPushButton* action,
                                const std::function<void()>& act)
{
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(action, QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Zrušit"), QDialogButtonBox::RejectRole);
    action->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, act);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace voltmetr::teacher
