#pragma once

#include "school/schooldatabase.h"

#include <QString>

namespace voltmetr::teacher {

// Empty when the connection is open on a school database that holds every table and column
// the pupils' program uses, so that a database from elsewhere is refused here rather than at a
// pupil's desk; else a Czech reason naming the file.
QString schoolDatabaseProblem(const QString& path, SchoolConnection& connection);

// A statement's failure for the teacher: what was being done and the engine's words.
QString databaseFailure(const QString& doing, const QString& reason);

} // namespace voltmetr::teacher
