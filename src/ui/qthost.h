#pragma once

#include "app/randomsource.h"
#include "ui/windowhost.h"

namespace voltmetr {

// The real desktop: Qt's message boxes, clipboard, file dialog and the system clock.
class QtHost final : public WindowHost
{
public:
    QtHost();

    MessageAnswer messageBox(const QString& prompt, const QString& title,
                             MessageStyle style) override;
    void beep() override;
    double now() override;
    void reseedRandom() override;
    float random() override;
    void setClipboardText(const QString& text) override;
    std::optional<QString> askSaveFileName(const SaveDialogRequest& request) override;
    void openLink(const QString& url) override;
    QString loginName() override;
    bool hasDatabaseDriver(const QString& driver) override;
    void endProgram() override;
    void showModal(QDialog& dialog) override;

private:
    RandomSource m_random;
    bool m_ended = false;
};

} // namespace voltmetr
