#pragma once

#include "app/host.h"
#include "app/randomsource.h"
#include "ui/windowhost.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>

namespace voltmetr::testing {

struct AskedMessage
{
    QString prompt;
    QString title;
    MessageStyle style;
};

// A host for tests: message boxes and save dialogs are answered from queues the test fills
// beforehand, random draws come from a queue and then from a generator with a fixed seed, and
// everything that was asked is recorded. An unexpected question fails the test.
// ScriptedCoreHost serves the logic alone; ScriptedHost adds the windows' modal showing.
template <typename Base> class ScriptedHostBase : public Base
{
public:
    explicit ScriptedHostBase(std::uint32_t seed = 20261206) : m_fallbackRandom(seed) {}

    void answerNextMessage(MessageAnswer answer) { m_messageAnswers.push_back(answer); }
    void answerNextSaveDialog(std::optional<QString> name) { m_saveAnswers.push_back(name); }
    void queueRandom(std::initializer_list<float> v) { m_randoms.insert(m_randoms.end(), v); }
    // action runs while the next message box is open, before it is answered: what the
    // program's timers may do while the pupil looks at the box.
    void whileNextMessageOpen(std::function<void()> action) { m_whileOpen = std::move(action); }
    void setClock(double oleDate) { m_clock = oleDate; }
    void setLoginName(QString name) { m_loginName = std::move(name); }

    // What was asked:
    std::vector<AskedMessage> messages;
    std::vector<QString> openedLinks;
    QString clipboard;
    int beeps = 0;
    int reseeds = 0;
    bool ended = false;
    // Drivers this computer's build lacks.
    QStringList missingDrivers;

    MessageAnswer messageBox(const QString& prompt, const QString& title,
                             MessageStyle style) override
    {
        messages.push_back({prompt, title, style});
        if (m_whileOpen) {
            std::exchange(m_whileOpen, {})();
        }
        if (!m_messageAnswers.empty()) {
            return take(m_messageAnswers);
        }
        EXPECT_NE(style, MessageStyle::YesNoQuestion)
            << "unexpected question: " << prompt.toStdString();
        return style == MessageStyle::YesNoQuestion ? MessageAnswer::No : MessageAnswer::Ok;
    }
    void beep() override { ++beeps; }
    double now() override { return m_clock; }
    void reseedRandom() override { ++reseeds; }
    float random() override
    {
        return m_randoms.empty() ? m_fallbackRandom.next() : take(m_randoms);
    }
    void setClipboardText(const QString& text) override { clipboard = text; }
    std::optional<QString> askSaveFileName(const SaveDialogRequest&) override
    {
        EXPECT_FALSE(m_saveAnswers.empty()) << "unexpected save dialog";
        return m_saveAnswers.empty() ? std::nullopt : take(m_saveAnswers);
    }
    void openLink(const QString& url) override { openedLinks.push_back(url); }
    QString loginName() override { return m_loginName; }
    bool hasDatabaseDriver(const QString& driver) override
    {
        return !missingDrivers.contains(driver);
    }
    void endProgram() override { ended = true; }

protected:
    template <typename T> static T take(std::deque<T>& queue)
    {
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
    std::size_t pendingAnswers() const { return m_messageAnswers.size() + m_saveAnswers.size(); }

private:
    std::deque<MessageAnswer> m_messageAnswers;
    std::deque<std::optional<QString>> m_saveAnswers;
    std::deque<float> m_randoms;
    std::function<void()> m_whileOpen;
    RandomSource m_fallbackRandom;
    double m_clock = 46000.5;
    QString m_loginName = QStringLiteral("zak");
};

using ScriptedCoreHost = ScriptedHostBase<Host>;

class ScriptedHost final : public ScriptedHostBase<WindowHost>
{
public:
    using ModalScript = std::function<void(QDialog&)>;
    using ScriptedHostBase::ScriptedHostBase;

    // The next modal window is handed to script, which must close it (click a button).
    void onNextModal(ModalScript script) { m_modalScripts.push_back(std::move(script)); }
    std::vector<QString> modalTitles;
    std::size_t pendingScripts() const { return pendingAnswers() + m_modalScripts.size(); }
    void showModal(QDialog& dialog) override;

private:
    std::deque<ModalScript> m_modalScripts;
};

} // namespace voltmetr::testing
