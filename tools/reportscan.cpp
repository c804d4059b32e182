#include "reportscan.h"

#include "report/reportdecoder.h"
#include "reportextract.h"

#include <QCryptographicHash>
#include <algorithm>

namespace voltmetr {

namespace {

QString placeOfLine(const QString& place, int line)
{
    return QStringLiteral("%1, řádek %2").arg(place).arg(line);
}

QByteArray identityOf(const QString& encoded)
{
    return QCryptographicHash::hash(encoded.toLower().toLatin1(), QCryptographicHash::Sha256)
        .toHex();
}

} // namespace

void ReportScan::addText(const QString& text, const QString& place)
{
    for (const FoundReport& found : findReports(text)) {
        const DecodedReport decoded = decodeReport(found.encoded);
        if (!decoded.ok()) {
            m_notes.append(
                {placeOfLine(place, found.lineOfToken(decoded.badToken)), decoded.error});
            continue;
        }
        const QString where = placeOfLine(place, found.firstLine());
        const ParsedReport parsed = parseReportText(decoded.text);
        if (!parsed.ok()) {
            m_notes.append({where, parsed.error});
            continue;
        }
        const QByteArray identity = identityOf(found.encoded);
        if (const auto earlier = m_seen.constFind(identity); earlier != m_seen.cend()) {
            m_notes.append(
                {where,
                 QStringLiteral("Tatáž zpráva (%1) už je výše, %2; započtena jen jednou.")
                     .arg(parsed.fields.pupilName, m_reports[*earlier].where),
                 false});
            continue;
        }
        m_seen.insert(identity, m_reports.size());
        m_reports.append({where, decoded.text, parsed.fields, identity});
    }
}

int ReportScan::damaged() const
{
    return static_cast<int>(std::count_if(m_notes.cbegin(), m_notes.cend(),
                                          [](const ReportNote& note) { return note.damaged; }));
}

} // namespace voltmetr
