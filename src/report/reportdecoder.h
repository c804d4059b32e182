#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>

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

// The tokens of an encoded text: the words between white space of any kind (mail programs
// turn blanks into no-break spaces and tabs).
QList<QStringView> splitReportTokens(QStringView text);

// A token is two hexadecimal digits (the coder writes lower case; upper case is read too).
bool isReportToken(QStringView token);

// tokens[from] starts a report: "4b", a random byte, and tokens that decode to the report's
// first label. Tells where one report ends and the next begins when they arrive run together.
bool beginsReport(const QList<QStringView>& tokens, qsizetype from);

// Follows a report token by token from its "4b" and tells when its decoded text has ended:
// after the line "Celkem odpovědí: 0", else after the eighth line. A report whose first two
// tokens are no "4b" and random byte, or that holds a token that is no pair, never ends here:
// where its text stands can no longer be known.
class ReportEnd
{
public:
    void feed(QStringView token);
    bool reached() const { return m_reached; }

private:
    qsizetype m_tokens = 0;
    std::uint8_t m_nonce = 0;
    bool m_lost = false;
    bool m_reached = false;
    int m_lines = 0;
    QByteArray m_line; // the codes of the line being decoded
};

} // namespace voltmetr
