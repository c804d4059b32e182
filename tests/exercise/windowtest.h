#pragma once

#include "exercise/zkouseni.h"
#include "support/scriptedhost.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace voltmetr::testing {

// Meter 1 and the task of 110 V drawn on its 200 V position, source the right way round.
inline constexpr std::initializer_list<float> meter1 = {0.1f};
inline constexpr std::initializer_list<float> task110V = {0.99f, 0.5f, 0.2f};

// A host that does what ScriptedHost does, and can also run something while the next
// message box is open, as the timers of a real desktop do.
class HookedHost final : public WindowHost
{
public:
    explicit HookedHost(ScriptedHost& inner) : m_inner(inner) {}
    std::function<void()> whileNextMessageIsOpen;

    MessageAnswer messageBox(const QString& prompt, const QString& title,
                             MessageStyle style) override
    {
        if (auto hook = std::exchange(whileNextMessageIsOpen, nullptr)) {
            hook();
        }
        return m_inner.messageBox(prompt, title, style);
    }
    void beep() override { m_inner.beep(); }
    double now() override { return m_inner.now(); }
    void reseedRandom() override { m_inner.reseedRandom(); }
    float random() override { return m_inner.random(); }
    void setClipboardText(const QString& text) override { m_inner.setClipboardText(text); }
    std::optional<QString> askSaveFileName(const SaveDialogRequest& request) override
    {
        return m_inner.askSaveFileName(request);
    }
    void openLink(const QString& url) override { m_inner.openLink(url); }
    QString loginName() override { return m_inner.loginName(); }
    void endProgram() override { m_inner.endProgram(); }
    void showModal(QDialog& dialog) override { m_inner.showModal(dialog); }

private:
    ScriptedHost& m_inner;
};

inline QPushButton& buttonOf(QWidget& window, const char* objectName)
{
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(objectName));
    if (button == nullptr) {
        throw std::runtime_error(std::string("no button ") + objectName);
    }
    return *button;
}

inline QString textOf(QWidget& window, const char* objectName)
{
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(objectName));
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

// Scripts for the modal windows: press the named button of whatever window opens.
inline ScriptedHost::ModalScript press(const char* objectName)
{
    return [objectName](QDialog& dialog) { buttonOf(dialog, objectName).click(); };
}

class ExerciseWindow : public ::testing::Test
{
protected:
    void start(std::initializer_list<std::initializer_list<float>> draws)
    {
        for (const auto& values : draws) {
            scripted.queueRandom(values);
        }
        window = std::make_unique<Zkouseni>(context);
        window->show();
    }

    const Exercise& exercise() const { return window->exercise(); }
    QLineEdit& vstup() { return *window->findChild<QLineEdit*>(QStringLiteral("Vstup")); }
    QLabel& rangeLabel(int index)
    {
        return *window->findChild<QLabel*>(QStringLiteral("RozLB%1").arg(index));
    }

    void answer(const QString& text)
    {
        vstup().setText(text);
        window->Contin_Click();
    }

    // Connected on too small a range: the first tick runs the needle into the upper stop.
    void peg()
    {
        window->Pripoj_Click();
        for (int tick = 0; tick < 300 && !window->CP().isActive(); ++tick) {
            window->casovac_Timer();
        }
        ASSERT_TRUE(window->CP().isActive());
    }

    ScriptedHost scripted;
    HookedHost host{scripted};
    Data_a_promene state;
    Info2 coder{host};
    WindowContext context{host, state, coder};
    std::unique_ptr<Zkouseni> window;
};

} // namespace voltmetr::testing
