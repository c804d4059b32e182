#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace voltmetr::teacher {

// A table for spreadsheet programs with Czech settings: UTF-8 with a byte order mark (so that
// the diacritics survive opening by double click), fields separated by ";", CR LF line ends,
// fields quoted where they hold a separator, a quote or a line break, and a field that a
// spreadsheet would run as a formula (one beginning with "=", "+", "-", "@", a tab or a CR)
// written as text behind an apostrophe.
class CsvTable
{
public:
    explicit CsvTable(const QStringList& header) { addRow(header); }

    void addRow(const QStringList& fields);
    QByteArray bytes() const { return m_bytes; }
    // The rows under the header.
    qsizetype rowCount() const { return m_rows - 1; }

private:
    QByteArray m_bytes{"\xef\xbb\xbf"};
    qsizetype m_rows = 0;
};

// Writes the table to path whole or not at all: a file already there stays as it was when
// writing fails. Returns an empty text, or the Czech reason naming the file.
QString writeTableFile(const QString& path, const CsvTable& table);

} // namespace voltmetr::teacher
