#include "report/info2.h"

#include "app/windows1250.h"
#include "report/reportkey.h"

namespace voltmetr {

namespace {

constexpr char hexDigits[] = "0123456789abcdef";

} // namespace

void Info2::InitReportCoder()
{
    m_reportKey = ReportKeyBytes;
    StartReport();
}

void Info2::StartReport()
{
    m_reportText.clear();
    m_keyPos = 0;
    m_tokensOnLine = 0;
    m_nonceByte = static_cast<std::uint8_t>(static_cast<double>(m_host.random()) * 256.0);
    appendToken(ReportMagic);
    appendToken(m_nonceByte);
}

void Info2::AppendEncoded(const QString& text)
{
    // A letter outside the Basic Multilingual Plane is one character in two UTF-16 units; a lone
    // half of a pair is one character too.
    for (const char32_t character : text.toUcs4()) {
        const std::uint8_t code = windows1250Byte(character);
        appendToken(static_cast<std::uint8_t>(code ^ m_reportKey[m_keyPos] ^ m_nonceByte));
        m_keyPos = static_cast<std::uint8_t>((m_keyPos + 1) % m_reportKey.size());
    }
}

QString Info2::ByteToHex(std::uint8_t byte)
{
    const char text[] = {hexDigits[byte / 16], hexDigits[byte % 16]};
    return QString::fromLatin1(text, 2);
}

void Info2::appendToken(std::uint8_t byte)
{
    m_reportText += ByteToHex(byte);
    m_reportText += u' ';
    if (++m_tokensOnLine >= ReportTokensPerLine) {
        m_reportText += QStringLiteral("\r\n");
        m_tokensOnLine = 0;
    }
}

} // namespace voltmetr
