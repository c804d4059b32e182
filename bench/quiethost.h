#pragma once

#include "app/host.h"
#include "app/randomsource.h"
#include "ui/windowhost.h"

#include <deque>
#include <initializer_list>

namespace voltmetr::bench {

// A desktop that answers every question with yes and draws its random numbers from a fixed
// seed, after any first draws the benchmark needs to reach a given meter.
template <typename Base> class QuietHostBase : public Base
{
public:
    explicit QuietHostBase(std::initializer_list<float> firstDraws = {}) : m_firstDraws(firstDraws)
    {
    }

    MessageAnswer messageBox(const QString&, const QString&, MessageStyle style) override
    {
        return style == MessageStyle::YesNoQuestion ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    void beep() override {}
    double now() override { return 0; }
    void reseedRandom() override {}
    float random() override
    {
        if (m_firstDraws.empty()) {
            return m_random.next();
        }
        const float draw = m_firstDraws.front();
        m_firstDraws.pop_front();
        return draw;
    }
    void setClipboardText(const QString&) override {}
    std::optional<QString> askSaveFileName(const SaveDialogRequest&) override { return {}; }
    void openLink(const QString&) override {}
    QString loginName() override { return {}; }
    bool hasDatabaseDriver(const QString&) override { return true; }
    void endProgram() override {}

private:
    std::deque<float> m_firstDraws;
    RandomSource m_random{7};
};

using QuietHost = QuietHostBase<Host>;

class QuietWindowHost final : public QuietHostBase<WindowHost>
{
public:
    using QuietHostBase::QuietHostBase;
    void showModal(QDialog&) override {}
};

} // namespace voltmetr::bench
