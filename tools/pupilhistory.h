#pragma once

#include "taskstatistics.h"

#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace voltmetr::teacher {

// One run of a pupil: when, what it came to, and the tasks it logged.
struct PupilRun
{
    std::optional<double> date;      // days since 30 December 1899
    std::optional<double> startTime; // the time of day, as a fraction of a day
    std::optional<double> endTime;
    Tally tally; // the run's own counts, and its logged tasks counted as the statistics count them
    std::vector<TaskRecord> tasks; // in the order set
};

// Everything stored of one pupil (surname and class as stored), run by run from the first.
struct PupilHistory
{
    std::vector<PupilRun> runs;
    bool taskLogPresent = false; // false in a database made before the task log existed

    // The right answers of the runs of each date, as the statistics' days count them.
    std::map<double, Share> byDate() const;
};

// Whether the source was connected the right way round when the task ended: as drawn, turned by
// every reversal.
bool polarityRightAtEnd(const TaskRecord& task);

// How the task ended, in the teacher's words: "správně", "chybně", "měřák zničen", ...
QString verdictText(const TaskRecord& task);

// Volts as the teacher reads them: at most six significant digits, so that a voltage the
// 32-bit arithmetic left as 0.32000002 reads 0,32 V.
QString voltsText(float volts, const QLocale& locale);

// Reads the pupil's runs in the period and their logged tasks from the school database at
// location, opened for reading and closed again. Nothing, with the teacher's Czech reason in
// failure, when the database cannot be used or read.
std::optional<PupilHistory> readPupilHistoryAt(const QString& location, const QString& surname,
                                               const QString& pupilClass, const Period& period,
                                               QString& failure);

} // namespace voltmetr::teacher
