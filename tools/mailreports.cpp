#include "mailreports.h"

#include "textfile.h"

#include <QRegularExpression>
#include <gmime/gmime.h>
#include <memory>
#include <optional>

namespace voltmetr::teacher {

namespace {

template <typename T> struct Unref
{
    void operator()(T* object) const { g_object_unref(object); }
};
template <typename T> using Owned = std::unique_ptr<T, Unref<T>>;

struct GFreeText
{
    void operator()(char* text) const { g_free(text); }
};

void initialiseOnce()
{
    static const bool initialised = [] {
        g_mime_init();
        return true;
    }();
    Q_UNUSED(initialised);
}

// A saved mail starts with its header; these names show that the bytes are one and not a
// pasted text that happens to begin with "Výsledky: ".
bool looksLikeMail(GMimeMessage* message)
{
    for (const char* header : {"From", "To", "Subject", "Date", "Message-ID", "MIME-Version",
                               "Content-Type", "Received", "Return-Path"}) {
        if (g_mime_object_get_header(GMIME_OBJECT(message), header)) {
            return true;
        }
    }
    return false;
}

// A letter written only in HTML: the text a reader sees, line breaks where the blocks end.
QString htmlAsText(const QString& html)
{
    static const QRegularExpression hidden(QStringLiteral("<(head|style|script)\\b.*?</\\1\\s*>"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression blockEnd(QStringLiteral("<(br|/p|/div|/tr|/li|/h\\d)\\b[^>]*>"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression sourceBreak(QStringLiteral("\r?\n"));
    static const QRegularExpression entity(QStringLiteral("&(#x[0-9a-fA-F]+|#\\d+|[a-zA-Z]+);"));
    QString text = html;
    text.remove(hidden).replace(sourceBreak, QStringLiteral(" "));
    text.replace(blockEnd, QStringLiteral("\n")).remove(tag);
    QString plain;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        plain.append(QStringView(text).sliced(last, match.capturedStart() - last));
        const QString name = match.captured(1);
        bool ok = false;
        const uint code = name.startsWith(QStringLiteral("#x")) ? name.mid(2).toUInt(&ok, 16)
                          : name.startsWith(u'#')               ? name.mid(1).toUInt(&ok, 10)
                                                                : 0;
        static const QHash<QString, QString> named{
            {QStringLiteral("nbsp"), QStringLiteral("\u00a0")},
            {QStringLiteral("amp"), QStringLiteral("&")},
            {QStringLiteral("lt"), QStringLiteral("<")},
            {QStringLiteral("gt"), QStringLiteral(">")},
            {QStringLiteral("quot"), QStringLiteral("\"")},
            {QStringLiteral("apos"), QStringLiteral("'")}};
        if (ok && code > 0 && code <= 0x10ffff) {
            const char32_t character = code;
            plain += QString::fromUcs4(&character, 1);
        } else {
            plain += named.value(name, match.captured());
        }
        last = match.capturedEnd();
    }
    plain.append(QStringView(text).sliced(last));
    return plain;
}

// Walks the parts of one mail and hands each text to the scan.
class MailWalk
{
public:
    MailWalk(ReportScan& scan, QString source) : m_scan(scan), m_source(std::move(source)) {}

    void walk(GMimeObject* object)
    {
        if (!object) { // a message without a body
            return;
        }
        if (GMIME_IS_MESSAGE_PART(object)) {
            // A forwarded mail attached whole.
            if (GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object))) {
                walk(g_mime_message_get_mime_part(inner));
            }
            return;
        }
        if (GMIME_IS_MULTIPART(object)) {
            GMimeMultipart* multipart = GMIME_MULTIPART(object);
            const int count = g_mime_multipart_get_count(multipart);
            const bool alternative = g_mime_content_type_is_type(
                g_mime_object_get_content_type(object), "multipart", "alternative");
            // The forms of one letter: the plain one where there is one, else the last (the
            // richest) that can be read.
            if (alternative) {
                GMimeObject* chosen = nullptr;
                for (int i = 0; i < count && !isType(chosen, "text", "plain"); ++i) {
                    chosen = g_mime_multipart_get_part(multipart, i);
                }
                if (chosen) {
                    walk(chosen);
                }
                return;
            }
            for (int i = 0; i < count; ++i) {
                walk(g_mime_multipart_get_part(multipart, i));
            }
            return;
        }
        if (GMIME_IS_PART(object)) {
            readPart(GMIME_PART(object));
        }
    }

private:
    static bool isType(GMimeObject* object, const char* type, const char* subtype)
    {
        return object &&
               g_mime_content_type_is_type(g_mime_object_get_content_type(object), type, subtype);
    }

    void readPart(GMimePart* part)
    {
        GMimeObject* object = GMIME_OBJECT(part);
        const QString fileName = QString::fromUtf8(g_mime_part_get_filename(part));
        const bool textFile = fileName.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
        QString text;
        if (GMIME_IS_TEXT_PART(object) &&
            (isType(object, "text", "plain") || isType(object, "text", "html"))) {
            const std::unique_ptr<char, GFreeText> utf8(
                g_mime_text_part_get_text(GMIME_TEXT_PART(object)));
            text = QString::fromUtf8(utf8.get());
            if (isType(object, "text", "html")) {
                text = htmlAsText(text);
            }
        } else if (textFile) {
            // A saved report attached as a file of any type: its tokens are plain ASCII.
            text = QString::fromLatin1(decodedContent(part));
        } else {
            return;
        }
        ++m_parts;
        QString place = m_source;
        if (!fileName.isEmpty()) {
            place = QStringLiteral("%1, příloha %2").arg(m_source, fileName);
        } else if (m_parts > 1) {
            place = QStringLiteral("%1, část %2").arg(m_source).arg(m_parts);
        }
        m_scan.addText(text, place);
    }

    static QByteArray decodedContent(GMimePart* part)
    {
        GMimeDataWrapper* content = g_mime_part_get_content(part);
        if (!content) {
            return {};
        }
        const Owned<GMimeStream> stream(g_mime_stream_mem_new());
        g_mime_data_wrapper_write_to_stream(content, stream.get());
        const GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream.get()));
        return QByteArray(reinterpret_cast<const char*>(bytes->data),
                          static_cast<qsizetype>(bytes->len));
    }

    ReportScan& m_scan;
    QString m_source;
    int m_parts = 0;
};

} // namespace

void scanMailOrText(ReportScan& scan, const QByteArray& bytes, const QString& source)
{
    // A mail or a text saved as "Unicode" is the same mail or text; the tokens of a damaged
    // stretch are named as any damaged report is.
    if (const std::optional<Utf16Text> utf16 = readUtf16(bytes)) {
        scanMailOrText(scan, utf16->text.toUtf8(), source);
        return;
    }
    initialiseOnce();
    const bool mailbox = bytes.startsWith("From ");
    const Owned<GMimeStream> stream(
        g_mime_stream_mem_new_with_buffer(bytes.constData(), static_cast<size_t>(bytes.size())));
    const Owned<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    g_mime_parser_set_format(parser.get(), mailbox ? GMIME_FORMAT_MBOX : GMIME_FORMAT_MESSAGE);
    int mails = 0;
    while (!g_mime_parser_eos(parser.get())) {
        const Owned<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
        if (!message || (!mailbox && !looksLikeMail(message.get()))) {
            break;
        }
        ++mails;
        const QString place =
            mailbox ? QStringLiteral("%1, e-mail č. %2").arg(source).arg(mails) : source;
        MailWalk(scan, place).walk(g_mime_message_get_mime_part(message.get()));
        if (!mailbox) {
            break;
        }
    }
    if (mails == 0) {
        scan.addText(QString::fromUtf8(bytes), source);
    }
}

} // namespace voltmetr::teacher
