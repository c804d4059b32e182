#include "csvtable.h"

#include <QSaveFile>

namespace voltmetr::teacher {

void CsvTable::addRow(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& field : fields) {
        const bool needsQuotes = field.contains(u';') || field.contains(u'"') ||
                                 field.contains(u'\n') || field.contains(u'\r');
        quoted.append(needsQuotes
                          ? u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"'
                          : field);
    }
    m_bytes += quoted.join(u';').toUtf8() + "\r\n";
}

QString writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, file.errorString());
    }
    file.write(bytes);
    if (!file.commit()) {
        return QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, file.errorString());
    }
    return {};
}

} // namespace voltmetr::teacher
