#include "support/scriptedhost.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <utility>

namespace voltmetr::testing {

MessageAnswer ScriptedHost::messageBox(const QString& prompt, const QString& title,
                                       MessageStyle style)
{
    messages.push_back({prompt, title, style});
    if (m_whileMessageOpen) {
        std::exchange(m_whileMessageOpen, {})();
    }
    if (m_messageAnswers.empty()) {
        if (style == MessageStyle::YesNoQuestion) {
            ADD_FAILURE() << "unexpected question: " << prompt.toStdString();
            return MessageAnswer::No;
        }
        return MessageAnswer::Ok;
    }
    const MessageAnswer answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return answer;
}

float ScriptedHost::random()
{
    if (m_randomValues.empty()) {
        return m_fallbackRandom.next();
    }
    const float value = m_randomValues.front();
    m_randomValues.pop_front();
    return value;
}

std::optional<QString> ScriptedHost::askSaveFileName(const SaveDialogRequest& request)
{
    saveRequests.push_back(request);
    if (m_saveAnswers.empty()) {
        ADD_FAILURE() << "unexpected save dialog";
        return std::nullopt;
    }
    auto answer = m_saveAnswers.front();
    m_saveAnswers.pop_front();
    return answer;
}

void ScriptedHost::showModal(QDialog& dialog)
{
    modalTitles.push_back(dialog.windowTitle());
    if (m_modalScripts.empty()) {
        ADD_FAILURE() << "unexpected modal window: " << dialog.windowTitle().toStdString();
        dialog.reject();
        return;
    }
    ModalScript script = std::move(m_modalScripts.front());
    m_modalScripts.pop_front();
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
