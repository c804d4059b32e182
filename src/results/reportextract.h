#pragma once

#include <QList>
#include <QString>

namespace voltmetr {

// An encoded report found in the text of an e-mail, its tokens joined by blanks.
struct FoundReport
{
    QString encoded;
    QList<int> tokenLines; // the 1-based line of the mail text each token stood on

    int firstLine() const { return tokenLines.value(0); }
    // The line of the n-th token (1-based), or the first line for a report-wide fault.
    int lineOfToken(int tokenNumber) const
    {
        return tokenNumber >= 1 && tokenNumber <= tokenLines.size() ? tokenLines[tokenNumber - 1]
                                                                    : firstLine();
    }
};

// Finds the encoded reports in mail text as pupils paste them: lines rewrapped, CR LF or LF,
// blank lines doubled, lines quoted with "> ", greetings and signatures around them. A run of
// lines that are mostly two-character tokens is one report, or several where a new report
// starts ("4b", a random byte, then the report's first label). A damaged run is returned as it
// is, so that decoding can say what is wrong with it.
QList<FoundReport> findReports(const QString& mailText);

} // namespace voltmetr
