#pragma once

#include "app/host.h"

#include <QString>
#include <array>
#include <cstdint>

namespace voltmetr {

// The report coder. A report is a line of two-digit lower-case hex tokens, each followed by a
// blank, CR LF after every tenth token: "4b", then a random byte drawn for this report, then
// one token per character of the text: its Windows-1250 code XOR the key byte of its position
// (the key repeats every 32 characters) XOR the random byte. Characters that Windows-1250
// cannot represent are sent as "?".
class Info2
{
public:
    explicit Info2(Host& host) : m_host(host) {}

    void InitReportCoder(); // loads the key and the hex digits, then StartReport
    void StartReport();     // a new report with a fresh random byte
    void AppendEncoded(const QString& text);
    static QString ByteToHex(std::uint8_t byte);
    QString GetReportText() const { return m_reportText; }
    std::uint8_t nonceByte() const { return m_nonceByte; }

private:
    void appendToken(std::uint8_t byte);

    Host& m_host;
    std::array<std::uint8_t, 32> m_reportKey{};
    QString m_reportText;
    std::uint8_t m_keyPos = 0;
    std::uint8_t m_nonceByte = 0;
    std::uint8_t m_tokensOnLine = 0;
};

} // namespace voltmetr
