#pragma once

#include <QString>

class QSqlDatabase;

namespace voltmetr {

// The school database: "Zaci" lists the pupils, "Prehled " (with its trailing blank) gets one
// row per finished school-server run. Dates are days since 30 December 1899.
inline constexpr char PupilsTable[] = "Zaci";
inline constexpr char ResultsTable[] = "Prehled ";

// Creates both tables and the surname index in an empty database. Returns an empty text on
// success, else the reason.
QString createSchoolSchema(QSqlDatabase& db);

} // namespace voltmetr
