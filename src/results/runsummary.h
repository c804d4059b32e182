#pragma once

#include "app/runstate.h"
#include "report/reporttext.h"
#include "school/resultsstore.h"

#include <QString>
#include <cstdint>

namespace voltmetr {

// " příklad" for 1, " příklady" for 2 to 4, " příkladů" for everything else (0, 5 and more,
// negative): the whole number decides, not its last digit.
QString CountNoun(std::int64_t n);

// A blank (a minus sign for a negative n), the digits, then the noun: " 3 příklady".
QString countCaption(std::int64_t n);

// The row a school-server run appends; end time and date come from one reading of the clock,
// so a run that ends at midnight cannot store today's time with tomorrow's date.
ResultRow resultRowFor(const Data_a_promene& state, double now, const QString& loginName);

// The report of an e-mail run.
ReportInputs emailReportInputs(const Data_a_promene& state, double now);

// The report that hands out a school-server run whose row could not be stored: the profile
// stands in for name and class, and the start is today's date with the start time (yesterday's
// when the run went on over midnight).
ReportInputs fallbackReportInputs(const Data_a_promene& state, double now);

} // namespace voltmetr
