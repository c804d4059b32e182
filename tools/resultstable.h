#pragma once

#include "csvtable.h"
#include "school/period.h"

#include <QString>
#include <optional>

namespace voltmetr::teacher {

// The stored runs of one class (of all when pupilClass is empty) in the period, as a table for
// spreadsheets: one row a run, in the order they were stored, under the school database's column
// names in Czech. Nothing, with the teacher's Czech reason in failure, when the database cannot be
// used or read.
std::optional<CsvTable> readResultsTableAt(const QString& location, const QString& pupilClass,
                                           const Period& period, QString& failure);

} // namespace voltmetr::teacher
