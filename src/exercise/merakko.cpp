#include "exercise/merakko.h"

#include "ui/designelements.h"
#include "ui/twips.h"

#include <QPushButton>

namespace voltmetr {

Merak_KO::Merak_KO(QWidget* parent) : QDialog(parent, fixedDialogFlags)
{
    setLetterSpacedTitle(*this, QStringLiteral("C H Y B A"));
    setFixedClientTwips(*this, 5400, 2550);
    makeLabel(*this, {QStringLiteral("Label1"),
                      QStringLiteral("Došlo k dlouhodobému přetížení přístroje, zničil jsi ho!"),
                      120, 120, 5175, 915, designFont(QStringLiteral("MS Sans Serif"), 17.25),
                      Qt::AlignHCenter | Qt::AlignTop, 0x0000FF});
    makeLabel(*this, {QStringLiteral("Label2"),
                      QStringLiteral("Musíš dbát na polaritu zdroje a musíš začínat měřit od "
                                     "největšího rozsahu."),
                      120, 1080, 5175, 615, designFont(QStringLiteral("MS Sans Serif"), 12),
                      Qt::AlignHCenter | Qt::AlignTop, 0x008000});
    auto* command1 =
        makeButton(*this, QStringLiteral("Command1"), QStringLiteral("Beru na vědomí"), 1440, 1920,
                   2655, 495, designFont(QStringLiteral("MS Sans Serif"), 12, true));
    command1->setDefault(true);
    command1->setFocus();
    connect(command1, &QPushButton::clicked, this, &Merak_KO::Command1_Click);
}

} // namespace voltmetr
