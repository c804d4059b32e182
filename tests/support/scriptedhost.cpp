#include "support/scriptedhost.h"

#include <QDialog>

namespace voltmetr::testing {

void ScriptedHost::showModal(QDialog& dialog)
{
    modalTitles.push_back(dialog.windowTitle());
    if (m_modalScripts.empty()) {
        ADD_FAILURE() << "unexpected modal window: " << dialog.windowTitle().toStdString();
        dialog.reject();
        return;
    }
    ModalScript script = take(m_modalScripts);
    // Shown for real (offscreen), so that a script may type into it and press its keys.
    dialog.setModal(true);
    dialog.show();
    script(dialog);
    if (dialog.isVisible()) {
        ADD_FAILURE() << "the script left this window open: " << dialog.windowTitle().toStdString();
        dialog.hide();
    }
}

} // namespace voltmetr::testing
