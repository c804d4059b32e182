#pragma once

#include "app/randomsource.h"
#include "ui/windowhost.h"

#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace voltmetr::testing {

struct AskedMessage
{
    QString prompt;
    QString title;
    MessageStyle style;
};

// A host for tests: message boxes, save dialogs and modal windows are answered from queues
// the test fills beforehand, and everything that was asked is recorded. An unexpected
// question fails the test.
class ScriptedHost final : public WindowHost
{
public:
    using ModalScript = std::function<void(QDialog&)>;

    // --- scripting ---
    void answerNextMessage(MessageAnswer answer) { m_messageAnswers.push_back(answer); }
    void answerNextSaveDialog(std::optional<QString> fileName)
    {
        m_saveAnswers.push_back(std::move(fileName));
    }
    // The next modal window is handed to script, which must close it (click a button).
    void onNextModal(ModalScript script) { m_modalScripts.push_back(std::move(script)); }
    // Random draws come from this queue first, then from a generator with a fixed seed.
    void queueRandom(std::initializer_list<float> values)
    {
        m_randomValues.insert(m_randomValues.end(), values);
    }
    // action runs while the next message box is open, before it is answered: what the
    // program's timers may do while the pupil looks at the box.
    void whileNextMessageOpen(std::function<void()> action)
    {
        m_whileMessageOpen = std::move(action);
    }
    void setClock(double oleDate) { m_clock = oleDate; }
    void setLoginName(QString name) { m_loginName = std::move(name); }

    // --- what was asked ---
    std::vector<AskedMessage> messages;
    std::vector<SaveDialogRequest> saveRequests;
    std::vector<QString> modalTitles;
    std::vector<QString> openedLinks;
    QString clipboard;
    int beeps = 0;
    int reseeds = 0;
    bool ended = false;
    std::size_t pendingScripts() const
    {
        return m_messageAnswers.size() + m_saveAnswers.size() + m_modalScripts.size();
    }

    // --- Host ---
    MessageAnswer messageBox(const QString& prompt, const QString& title,
                             MessageStyle style) override;
    void beep() override { ++beeps; }
    double now() override { return m_clock; }
    void reseedRandom() override { ++reseeds; }
    float random() override;
    void setClipboardText(const QString& text) override { clipboard = text; }
    std::optional<QString> askSaveFileName(const SaveDialogRequest& request) override;
    void openLink(const QString& url) override { openedLinks.push_back(url); }
    QString loginName() override { return m_loginName; }
    void endProgram() override { ended = true; }
    void showModal(QDialog& dialog) override;

private:
    std::deque<MessageAnswer> m_messageAnswers;
    std::deque<std::optional<QString>> m_saveAnswers;
    std::deque<ModalScript> m_modalScripts;
    std::deque<float> m_randomValues;
    std::function<void()> m_whileMessageOpen;
    RandomSource m_fallbackRandom{20261206};
    double m_clock = 46000.5;
    QString m_loginName = QStringLiteral("zak");
};

} // namespace voltmetr::testing
