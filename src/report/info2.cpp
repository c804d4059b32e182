#include "report/info2.h"

#include "report/reportkey.h"

#include <QStringEncoder>

namespace voltmetr {

namespace {

constexpr char hexDigits[] = "0123456789abcdef";

// The code page byte of one character, "?" when the code page has none. The converter marks
// such a character with its own substitute, SUB (26), which a teacher's decoder would show
// as an invisible control character.
std::uint8_t windows1250Code(QStringView character)
{
    constexpr char substitute = 26;
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
    Q_ASSERT(encoder.isValid());
    const QByteArray bytes = encoder.encode(character);
    if (bytes.size() != 1 || encoder.hasError() ||
        (bytes.at(0) == substitute && character != QStringView(u"\x1a"))) {
        return '?';
    }
    return static_cast<std::uint8_t>(bytes.at(0));
}

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
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A letter outside the Basic Multilingual Plane is one character in two UTF-16 units.
        const qsizetype units =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                ? 2
                : 1;
        const std::uint8_t code = windows1250Code(QStringView(text).mid(i, units));
        i += units - 1;
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
