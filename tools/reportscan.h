#pragma once

#include "report/reportfields.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace voltmetr {

// A report found, decoded and read back.
struct ScannedReport
{
    QString where; // for the teacher: the source and the line of its first token
    QString text;  // the decoded text, CR LF line ends
    ReportFields fields;
    // What makes a report the same however mail programs wrapped, quoted or shouted it: the
    // SHA-256 (hex) of its tokens in lower case with one blank between. Each report carries a
    // random byte of its own, so two runs never share it.
    QByteArray identity;
};

// Where a report could not be read, or was given again: "<where>: <Czech reason>".
struct ReportNote
{
    QString where;
    QString text;
    bool damaged = true; // not a report given again
};

// Collects the reports of everything a teacher hands over at once: each report once, in the
// order found, and a note for each damaged or repeated one.
class ReportScan
{
public:
    // Finds the reports in text; place names where the text came from ("dopis.eml, příloha
    // Vysledky.txt"), to which the line of each report is added.
    void addText(const QString& text, const QString& place);

    const QList<ScannedReport>& reports() const { return m_reports; }
    const QList<ReportNote>& notes() const { return m_notes; }
    // The damaged reports among the notes (a repeated report is no failure).
    int damaged() const;

private:
    QList<ScannedReport> m_reports;
    QList<ReportNote> m_notes;
    QHash<QByteArray, qsizetype> m_seen; // identity -> index in m_reports
};

} // namespace voltmetr
