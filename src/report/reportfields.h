#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace voltmetr {

// The values of a decoded report, read back from its labelled lines. The dates stay as the
// pupil's program wrote them ("dd.mm.yyyy hh:mm" with the pupil's time separator).
struct ReportFields
{
    QString pupilName;
    QString pupilClass;
    QString from;
    QString to;
    int total = 0;
    int right = 0;
    int wrong = 0;
};

struct ParsedReport
{
    ReportFields fields;
    QString error; // empty when the text is a whole report; else a Czech reason naming the line
    bool ok() const { return error.isEmpty(); }
};

// The moment a report's "Od" or "Do" names, read whatever time separator the pupil's settings
// used; nothing for a day that no calendar has (31.02.).
std::optional<QDateTime> reportDateTime(const QString& value);

// Reads a decoded report text. A text that decoded but is no report (a wrong random byte, a
// different key, a line missing) is refused with the first line that does not fit.
ParsedReport parseReportText(const QString& text);

} // namespace voltmetr
