#include "results/souhrn.h"

#include "ui/twips.h"

#include <QPushButton>

namespace voltmetr {

// For now the summary only ends the run; the stored result and the report come with it later.
Souhrn::Souhrn(WindowContext& context, QWidget* parent) : QDialog(parent), m_context(context)
{
    setWindowTitle(QStringLiteral("Souhrn"));
    setFixedClientTwips(*this, 4680, 3255);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    placeTwips(*ok, 1680, 2640, 1455, 495);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        accept();
        m_context.host.endProgram();
    });
}

} // namespace voltmetr
