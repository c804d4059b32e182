#pragma once

#include "app/host.h"
#include "app/runstate.h"
#include "report/info2.h"

#include <QObject>
#include <QString>
#include <array>

namespace voltmetr {

class BackgroundSave;

// The end of a run, as the summary shows it. A school-server run is stored, on a thread of its
// own, and the pupil's all-time counts are read back; an e-mail run, and a school-server run
// whose row could not be stored, is encoded as the report the pupil hands out. A failed save is
// never passed over: the pupil is told why in a message box before the report is made.
class RunEnd : public QObject
{
    Q_OBJECT
public:
    // Counts of one block: all, right, wrong.
    using Counts = std::array<QString, 3>;

    // Starts the end at once: the save runs while the summary is already shown.
    RunEnd(Host& host, Data_a_promene& state, Info2& coder, QObject* parent = nullptr);
    ~RunEnd() override;

    Counts today() const;
    // "ukládám…" while the row is being stored, then the stored totals, or "není k dispozici"
    // for a run that is handed out.
    const Counts& total() const { return m_total; }
    bool saving() const;
    // Whether the run ends with the report window rather than with the program.
    bool handsOutReport() const { return m_handsOutReport; }

Q_SIGNALS:
    // The row was stored, or the pupil has been told why not.
    void saveEnded();

private:
    void storeRun();
    void saveFinished(double now);
    void encodeReport(bool fallback, double now);

    Host& m_host;
    const Data_a_promene& m_state;
    Info2& m_coder;
    Counts m_total;
    BackgroundSave* m_save = nullptr;
    bool m_handsOutReport = false;
};

} // namespace voltmetr
