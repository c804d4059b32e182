#pragma once

#include "exercise/zkouseni.h"
#include "support/scriptedhost.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace voltmetr::testing {

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
    // meterDraw picks the meter (0.1: meter 1, 0.3: meter 2, ...); the default task is 110 V
    // on meter 1's 200 V position, source the right way round. The switch starts on 0.5 V.
    void start(float meterDraw = 0.1f, std::initializer_list<float> task = {0.99f, 0.5f, 0.2f})
    {
        host.queueRandom({meterDraw});
        host.queueRandom(task);
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

    // Connected on the 0.5 V range: the first tick runs the needle into the upper stop.
    void peg()
    {
        window->Pripoj_Click();
        window->casovac_Timer();
        ASSERT_TRUE(window->CP().isActive());
    }

    ScriptedHost host;
    Data_a_promene state;
    Info2 coder{host};
    WindowContext context{host, state, coder};
    std::unique_ptr<Zkouseni> window;
};

} // namespace voltmetr::testing
