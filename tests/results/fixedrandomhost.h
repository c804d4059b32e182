#pragma once

#include "app/host.h"

#include <deque>
#include <initializer_list>

namespace voltmetr::testing {

// A desktop for the coder alone: random draws come from a list the test gives; nothing else
// may be asked of it.
class FixedRandomHost final : public Host
{
public:
    FixedRandomHost(std::initializer_list<float> draws) : m_draws(draws) {}

    float random() override
    {
        if (m_draws.empty()) {
            return 0;
        }
        const float draw = m_draws.front();
        m_draws.pop_front();
        return draw;
    }
    MessageAnswer messageBox(const QString&, const QString&, MessageStyle) override
    {
        return MessageAnswer::Ok;
    }
    void beep() override {}
    double now() override { return 0; }
    void reseedRandom() override {}
    void setClipboardText(const QString&) override {}
    std::optional<QString> askSaveFileName(const SaveDialogRequest&) override { return {}; }
    void openLink(const QString&) override {}
    QString loginName() override { return {}; }
    void endProgram() override {}

private:
    std::deque<float> m_draws;
};

} // namespace voltmetr::testing
