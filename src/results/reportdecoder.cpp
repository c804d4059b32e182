#include "results/reportdecoder.h"

#include "results/reportkey.h"

#include <QList>
#include <QStringDecoder>
#include <cstdint>
#include <optional>

namespace voltmetr {

namespace {

constexpr char SubstituteCode = '\x1a';

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

// Mail programs turn blanks into no-break spaces and tabs; every kind of white space
// separates tokens.
QList<QStringView> splitTokens(QStringView text)
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

} // namespace

DecodedReport decodeReport(const QString& encoded)
{
    const QList<QStringView> tokens = splitTokens(encoded);
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
        const std::size_t position = static_cast<std::size_t>(i - 2) % ReportKeyBytes.size();
        codes.append(static_cast<char>(*value ^ ReportKeyBytes[position] ^ nonce));
    }

    // Every report line ends with CR LF, the last one too: a text that stops elsewhere lost
    // its end on the way.
    if (!codes.endsWith("\r\n")) {
        const int missing = tokenNumber(tokens.size());
        return failure(QStringLiteral("Zpráva je useknutá: za dvojicí č. %1 chybí zbytek textu.")
                           .arg(tokens.size()),
                       missing);
    }

    // A character the pupil's code page lacks may arrive as SUB, the substitute that the
    // Windows-1250 converter writes for it; the report shows it as "?" like any other.
    codes.replace(SubstituteCode, '?');
    QStringDecoder decoder("windows-1250");
    Q_ASSERT(decoder.isValid());
    DecodedReport report;
    report.text = decoder.decode(codes);
    return report;
}

} // namespace voltmetr
