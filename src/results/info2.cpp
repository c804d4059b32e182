#include "results/info2.h"

#include "results/reportkey.h"

#include <QStringEncoder>

namespace voltmetr {

namespace {
constexpr char hexDigits[] = "0123456789abcdef";
}

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
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Default);
    Q_ASSERT(encoder.isValid());
    // The encoder writes "?" for a character the code page lacks, one byte per character.
    const QByteArray codes = encoder.encode(text);
    for (const char code : codes) {
        const auto byte = static_cast<std::uint8_t>(static_cast<unsigned char>(code) ^
                                                    m_reportKey[m_keyPos] ^ m_nonceByte);
        appendToken(byte);
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
