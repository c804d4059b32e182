#pragma once

#include "app/host.h"
#include "app/randomsource.h"

namespace voltmetr::testing {

// A host for encoding reports without a display: only the random source does anything.
class RandomHost final : public Host
{
public:
    explicit RandomHost(std::uint32_t seed) : m_random(seed) {}

    MessageAnswer messageBox(const QString&, const QString&, MessageStyle) override
    {
        return MessageAnswer::Ok;
    }
    void beep() override {}
    double now() override { return 0; }
    void reseedRandom() override {}
    float random() override { return m_random.next(); }
    void setClipboardText(const QString&) override {}
    std::optional<QString> askSaveFileName(const SaveDialogRequest&) override { return {}; }
    void openLink(const QString&) override {}
    QString loginName() override { return {}; }
    void endProgram() override {}

private:
    RandomSource m_random;
};

} // namespace voltmetr::testing
