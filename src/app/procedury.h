#pragma once

#include "app/runstate.h"

#include <QString>

namespace voltmetr {

// A file or a directory exists at path; false for an empty path or one that cannot be tested.
bool FileExists(const QString& path);

// Degrees to radians with the 15-digit factor 3.14159265358979 (not full-precision pi),
// computed in double precision and rounded to a 32-bit float.
float DegToRad(float deg);

// Writes the meter catalogue and the six dial tables. Every call writes the same values.
void FillTables(MeterTables& tables);

} // namespace voltmetr
