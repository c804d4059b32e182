#pragma once

#include "app/tasklog.h"
#include "school/profile.h"
#include "school/runstore.h"
#include "school/schooldatabase.h"

#include <QString>
#include <chrono>
#include <optional>
#include <vector>

namespace voltmetr {

struct PupilsRead
{
    std::vector<Profile> pupils; // in table order
    QString error;               // the Czech reason when the table could not be read

    bool ok() const { return error.isEmpty(); }
};

// A run is stored together with the totals read back, or not at all.
struct RunStored
{
    // The row and its totals are read in one transaction: they come together or not at all.
    bool stored() const { return totals.has_value(); }

    std::optional<PupilTotals> totals; // this run included
    QString error;                     // the Czech reason why it was not stored
};

// What a trial save met.
struct StoreTrial
{
    QString error; // empty when a pupil's run would be stored, else the Czech reason
    std::chrono::milliseconds lockWaited{0}; // for other computers' writes to a file
};

// The school database file. Every call opens its own connection and closes it again, so the
// file is held only while a call runs. The file is never created: a missing one is an error.
//
// A database busy with other computers' writes is waited for up to busyTimeoutMs in all: a
// reading waits that long at most, and a save retries within that one budget, so that when a
// whole class finishes at once each pupil's row gets its turn. A save that runs out of it is
// reported, never stored later behind the pupil's back. A save that had to try again, and one
// that was not stored, leaves a warning for the administrator (category voltmetr.database).
class ResultsStore
{
public:
    static constexpr int DefaultBusyTimeoutMs = SchoolConnection::DefaultBusyTimeoutMs;

    explicit ResultsStore(QString path, int busyTimeoutMs = DefaultBusyTimeoutMs);

    PupilsRead readPupils() const;
    // Appends the row, with the run's task log where the database has one, and reads the
    // surname's totals back in one transaction.
    RunStored appendRun(const ResultRow& row, const std::vector<TaskRecord>& tasks = {}) const;
    // Whether a run would be stored now, for the lab check. In a file, a run of nobody is saved as
    // a pupil's is, up to the last statement, and rolled back instead of committed: the file is
    // left byte for byte as it was. A server's answer is its own check of this login's rights.
    StoreTrial tryStoringRun() const;

private:
    QString m_path;
    int m_busyTimeoutMs;
};

} // namespace voltmetr
