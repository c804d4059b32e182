#pragma once

#include <QList>
#include <QString>

namespace voltmetr {

// An encoded report found in a text, its tokens joined by blanks.
struct FoundReport
{
    QString encoded;
    QList<int> tokenLines; // the 1-based line of the text each token stood on

    int firstLine() const { return tokenLines.value(0); }
    // The line of the n-th token (1-based), or the first line for a report-wide fault.
    int lineOfToken(int tokenNumber) const
    {
        return tokenNumber >= 1 && tokenNumber <= tokenLines.size() ? tokenLines[tokenNumber - 1]
                                                                    : firstLine();
    }
};

// Finds the encoded reports in a text as pupils paste them into mail: lines rewrapped, CR LF
// or LF, blank lines doubled, lines quoted with "> ", a letter around them.
//
// A report is found by its own shape, never by what stands near it. It starts where "4b", a
// random byte and tokens that decode to "Student: " stand (anywhere on a line), and it ends
// where its decoded text ends: after the line "Celkem odpovědí: 0", else after its eighth
// line. Tokens that follow on that same line still belong to it (a damaged report says so).
// A line of the letter with a hex-looking word ("Novák 3A", "tel. 12 34") therefore never
// joins a whole report.
//
// Damaged reports are returned too, so that decoding can name what is wrong with them: a line
// that holds at least four pairs and barely anything else starts one when no whole report's
// start explains it, and a report that has not ended goes on through such lines. A line that
// is mostly words ends it.
QList<FoundReport> findReports(const QString& text);

} // namespace voltmetr
