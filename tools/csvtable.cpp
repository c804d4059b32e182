#include "csvtable.h"

#include "app/filewrite.h"

namespace voltmetr::teacher {

void CsvTable::addRow(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& text : fields) {
        // A spreadsheet runs a cell that begins like a formula; names come from what pupils
        // typed and from login names, so such a cell is written as text, with the apostrophe
        // spreadsheets themselves use for that.
        static const QString formulaStarts = QStringLiteral("=+-@\t\r");
        const QString field =
            !text.isEmpty() && formulaStarts.contains(text.front()) ? u'\'' + text : text;
        const bool needsQuotes = field.contains(u';') || field.contains(u'"') ||
                                 field.contains(u'\n') || field.contains(u'\r');
        quoted.append(needsQuotes
                          ? u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"'
                          : field);
    }
    m_bytes += quoted.join(u';').toUtf8() + "\r\n";
    ++m_rows;
}

QString writeTableFile(const QString& path, const CsvTable& table)
{
    if (const QString reason = writeWholeFile(path, table.bytes()); !reason.isEmpty()) {
        return QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, reason);
    }
    return {};
}

} // namespace voltmetr::teacher
