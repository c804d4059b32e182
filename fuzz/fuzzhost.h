#pragma once

#include "app/host.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace voltmetr::fuzzing {

// A host without a desktop: questions are answered "No", every message is kept, and random
// draws come from a fixed sequence, so that a finding replays exactly.
class FuzzHost final : public Host
{
public:
    struct Message
    {
        QString prompt;
        MessageStyle style;
    };
    std::vector<Message> messages;

    MessageAnswer messageBox(const QString& prompt, const QString&, MessageStyle style) override
    {
        messages.push_back({prompt, style});
        return style == MessageStyle::YesNoQuestion ? MessageAnswer::No : MessageAnswer::Ok;
    }
    void beep() override {}
    double now() override { return 46361.5; } // 5 December 2026, noon
    void reseedRandom() override { m_state = 20261206; }
    float random() override
    {
        if (m_next) {
            return *std::exchange(m_next, std::nullopt);
        }
        // A 32-bit linear congruential generator; its top 24 bits give a float in [0, 1).
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<float>(m_state >> 8) / 16777216.0f;
    }
    // The next random() returns value, so that a report gets the random byte the input asks
    // for.
    void setNextRandom(float value) { m_next = value; }
    void setClipboardText(const QString&) override {}
    std::optional<QString> askSaveFileName(const SaveDialogRequest&) override
    {
        return std::nullopt;
    }
    void openLink(const QString&) override {}
    QString loginName() override { return {}; }
    bool hasDatabaseDriver(const QString&) override { return true; }
    void endProgram() override {}

private:
    std::uint32_t m_state = 20261206;
    std::optional<float> m_next;
};

} // namespace voltmetr::fuzzing
