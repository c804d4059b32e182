#pragma once

#include "results/reporttext.h"
#include "ui/windowcontext.h"

#include <QDialog>
#include <array>

class QLabel;

namespace voltmetr {

// The summary that closes a run. In school-server mode it stores the run's row and shows the
// pupil's all-time counts; in e-mail mode, or when the row could not be stored, it encodes the
// report and its "OK" hands it out through GenList.
class Souhrn : public QDialog
{
    Q_OBJECT
public:
    explicit Souhrn(WindowContext& context, QWidget* parent = nullptr);

    // The only button, also what Esc and a close from the desktop mean.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void storeRun();
    void encodeReport(const ReportInputs& inputs);
    void Command1_Click();

    WindowContext& m_context;
    std::array<QLabel*, 3> m_today{};
    std::array<QLabel*, 3> m_total{};
    bool m_handsOutReport = false;
};

} // namespace voltmetr
