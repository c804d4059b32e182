#pragma once

#include <QString>

namespace voltmetr {

// Turns one encoded report back into its text: "4b", the report's random byte, then one token
// per character (token XOR key byte of its position XOR the random byte, read as
// Windows-1250). Tokens may be separated by any blanks and line breaks.
struct DecodedReport
{
    QString text;
    QString error;     // empty when the report decoded; else a Czech reason naming the token
    int badToken = -1; // 1-based index of the offending token, -1 when none

    bool ok() const { return error.isEmpty(); }
};

DecodedReport decodeReport(const QString& encoded);

} // namespace voltmetr
