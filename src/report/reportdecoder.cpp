#include "report/reportdecoder.h"

#include "app/windows1250.h"
#include "report/reportkey.h"
#include "report/reporttext.h"

#include <QList>
#include <cstdint>
#include <optional>

namespace voltmetr {

namespace {

std::optional<std::uint8_t> hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return static_cast<std::uint8_t>(u - u'0');
    }
    // The coder writes lower case; a mail program that shouts is forgiven.
    if (u >= u'a' && u <= u'f') {
        return static_cast<std::uint8_t>(u - u'a' + 10);
    }
    if (u >= u'A' && u <= u'F') {
        return static_cast<std::uint8_t>(u - u'A' + 10);
    }
    return std::nullopt;
}

std::optional<std::uint8_t> tokenValue(QStringView token)
{
    if (token.size() != 2) {
        return std::nullopt;
    }
    const auto high = hexDigitValue(token[0]);
    const auto low = hexDigitValue(token[1]);
    if (!high || !low) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*high * 16 + *low);
}

DecodedReport failure(QString reason, int tokenNumber)
{
    DecodedReport report;
    report.error = std::move(reason);
    report.badToken = tokenNumber;
    return report;
}

// Tokens are named to the teacher by their 1-based position in the report.
int tokenNumber(qsizetype index)
{
    return static_cast<int>(index + 1);
}

std::uint8_t decodedCode(std::uint8_t token, qsizetype position, std::uint8_t nonce)
{
    const auto keyIndex = static_cast<std::size_t>(position) % ReportKeyBytes.size();
    return static_cast<std::uint8_t>(token ^ ReportKeyBytes[keyIndex] ^ nonce);
}

} // namespace

bool isReportToken(QStringView token)
{
    return tokenValue(token).has_value();
}

QList<QStringView> splitReportTokens(QStringView text)
{
    QList<QStringView> tokens;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool separator = i == text.size() || text[i].isSpace();
        if (separator && start >= 0) {
            tokens.append(text.sliced(start, i - start));
            start = -1;
        } else if (!separator && start < 0) {
            start = i;
        }
    }
    return tokens;
}

bool beginsReport(const QList<QStringView>& tokens, qsizetype from)
{
    const QByteArray label = QStringView(reportlabels::Student).toLatin1();
    if (from < 0 || tokens.size() - from < 2 + label.size()) {
        return false;
    }
    const auto magic = tokenValue(tokens[from]);
    const auto nonce = tokenValue(tokens[from + 1]);
    if (!magic || *magic != ReportMagic || !nonce) {
        return false;
    }
    for (qsizetype i = 0; i < label.size(); ++i) {
        const auto value = tokenValue(tokens[from + 2 + i]);
        if (!value || decodedCode(*value, i, *nonce) != static_cast<std::uint8_t>(label[i])) {
            return false;
        }
    }
    return true;
}

void ReportEnd::feed(QStringView token)
{
    const auto value = tokenValue(token);
    const qsizetype position = m_tokens++;
    if (m_lost || m_reached) {
        return;
    }
    if (!value || (position == 0 && *value != ReportMagic)) {
        m_lost = true;
        return;
    }
    if (position == 0) {
        return;
    }
    if (position == 1) {
        m_nonce = *value;
        return;
    }
    m_line.append(static_cast<char>(decodedCode(*value, position - 2, m_nonce)));
    if (!m_line.endsWith("\r\n")) {
        return;
    }
    ++m_lines;
    // The label holds letters of the report's code page: compare it as text.
    static const QString noAnswers =
        QString::fromUtf16(reportlabels::Total) + QStringLiteral("0\r\n");
    constexpr int totalLine = 6;
    constexpr int lastLine = 8;
    m_reached =
        m_lines == lastLine || (m_lines == totalLine && fromWindows1250(m_line) == noAnswers);
    m_line.clear();
}

DecodedReport decodeReport(const QString& encoded)
{
    const QList<QStringView> tokens = splitReportTokens(encoded);
    if (tokens.isEmpty()) {
        return failure(QStringLiteral("Zpráva je prázdná."), -1);
    }
    const auto magic = tokenValue(tokens[0]);
    if (!magic || *magic != ReportMagic) {
        return failure(
            QStringLiteral("Zpráva nezačíná dvojicí „4b“: dvojice č. 1 je „%1“.").arg(tokens[0]),
            1);
    }

    QByteArray codes;
    codes.reserve(tokens.size());
    std::uint8_t nonce = 0;
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        const auto value = tokenValue(tokens[i]);
        if (!value) {
            return failure(QStringLiteral("Dvojice č. %1 „%2“ není šestnáctkové číslo 00 až ff.")
                               .arg(tokenNumber(i))
                               .arg(tokens[i]),
                           tokenNumber(i));
        }
        if (i == 1) {
            nonce = *value;
            continue;
        }
        codes.append(static_cast<char>(decodedCode(*value, i - 2, nonce)));
    }

    // Every report line ends with CR LF, the last one too: a text that stops elsewhere lost
    // its end on the way.
    if (!codes.endsWith("\r\n")) {
        const int missing = tokenNumber(tokens.size());
        return failure(QStringLiteral("Zpráva je useknutá: za dvojicí č. %1 chybí zbytek textu.")
                           .arg(tokens.size()),
                       missing);
    }

    DecodedReport report;
    report.text = fromWindows1250(codes);
    return report;
}

} // namespace voltmetr
