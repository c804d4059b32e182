#include "support/scriptedhost.h"

#include <QDialog>

namespace voltmetr::testing {

void ScriptedHost::showModal(QDialog& dialog)
{
    modalTitles.push_back(dialog.windowTitle());
    if (m_modalScripts.empty()) {
        ADD_FAILURE() << "unexpected modal window: " << dialog.windowTitle().toStdString();
        return;
    }
    // Shown for real (offscreen), so that a script may type into it and press its keys.
    dialog.setModal(true);
    dialog.show();
    take(m_modalScripts)(dialog);
    EXPECT_FALSE(dialog.isVisible())
        << "the script left open " << dialog.windowTitle().toStdString();
    dialog.hide();
}

} // namespace voltmetr::testing
