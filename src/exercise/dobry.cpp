#include "exercise/dobry.h"

#include "ui/designelements.h"
#include "ui/twips.h"

namespace voltmetr {

Dobry::Dobry(AskToEnd askToEnd, QWidget* parent) : AnswerFeedback(std::move(askToEnd), parent)
{
    setWindowTitle(QStringLiteral("Gratuluji"));
    setFixedClientTwips(*this, 3510, 2520);
    makeLabel(*this, {QStringLiteral("Label1"), QStringLiteral("Velmi dobře"), 120, 120, 3240, 555,
                      designFont(QStringLiteral("Arial"), 24, true),
                      Qt::AlignHCenter | Qt::AlignTop, 0x1DAD20});
    makeLabel(*this, {QStringLiteral("Label2"),
                      QStringLiteral("Na poslední otázku jsi odpověděl naprosto správně."), 120,
                      840, 3255, 735, designFont(QStringLiteral("MS Sans Serif"), 12),
                      Qt::AlignHCenter | Qt::AlignTop});
    addButtons(QRect(120, 1800, 1695, 615), QRect(1920, 1800, 1455, 615));
}

} // namespace voltmetr
