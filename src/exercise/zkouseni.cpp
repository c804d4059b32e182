#include "exercise/zkouseni.h"

#include "ui/twips.h"

namespace voltmetr {

Zkouseni::Zkouseni(WindowContext& context, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::CustomizeWindowHint),
      m_context(context)
{
    setWindowTitle(QStringLiteral("Prověřovák měření na analogovém voltmetru"));
    setFixedClientTwips(*this, 6330, 6480);
}

} // namespace voltmetr
