#pragma once

#include "ui/windowcontext.h"

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

namespace voltmetr {

class RunEnd;

// The summary that closes a run: it shows what the end of the run (RunEnd) says. In
// school-server mode that is the pupil's all-time counts once the run is stored; in e-mail
// mode, or when the row could not be stored, "OK" opens the report window to hand it out.
//
// The row is stored while the window is already shown: it says so in place of the all-time
// counts, and "OK" waits until the save has ended, with the totals or with the reason and the
// report.
class Souhrn : public QDialog
{
    Q_OBJECT
public:
    explicit Souhrn(WindowContext& context, QWidget* parent = nullptr);

    // The only button, also what Esc and a close from the desktop mean.
    void reject() override;

Q_SIGNALS:
    // The row was stored, or the pupil has been told why not; "OK" works from now on.
    void saveEnded();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Command1_Click();

    WindowContext& m_context;
    std::array<QLabel*, 3> m_today{};
    std::array<QLabel*, 3> m_total{};
    QPushButton* m_ok = nullptr;
    RunEnd* m_end = nullptr;
};

} // namespace voltmetr
