#include "csvtable.h"
#include "results/failurereason.h"
#include "results/reportdecoder.h"
#include "results/reportextract.h"
#include "results/reportfields.h"
#include "teachertool.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>
#include <optional>

namespace voltmetr::teacher {

namespace {

struct Source
{
    QString name; // as the teacher will recognise it in a message
    QByteArray bytes;
};

std::optional<QString> readSource(const QString& path, Console& console, Source& source)
{
    if (path == QStringLiteral("-")) {
        source = {QStringLiteral("(standardní vstup)"), console.in.readAll()};
        return std::nullopt;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("%1: soubor nelze otevřít: %2")
            .arg(path, fileFailureReason(file, errno));
    }
    source = {path, file.readAll()};
    return std::nullopt;
}

} // namespace

int decodeReports(const Request& request, Console& console)
{
    const QStringList paths =
        request.files.isEmpty() ? QStringList{QStringLiteral("-")} : request.files;
    // Refuse an unwritable table before any work, so that nothing is decoded in vain.
    if (!request.csvPath.isEmpty()) {
        const QFileInfo target(request.csvPath);
        const QFileInfo folder(target.absolutePath());
        if (target.isDir() || !folder.isDir() || !folder.isWritable()) {
            return console.fail(
                QStringLiteral("Soubor %1 nelze zapsat: složka neexistuje nebo do ní nelze psát.")
                    .arg(request.csvPath));
        }
    }

    CsvTable table({QStringLiteral("Jméno"), QStringLiteral("Třída"), QStringLiteral("Od"),
                    QStringLiteral("Do"), QStringLiteral("Celkem"), QStringLiteral("Dobře"),
                    QStringLiteral("Špatně")});
    int decoded = 0;
    int damaged = 0;
    for (const QString& path : paths) {
        Source source;
        if (const auto failure = readSource(path, console, source)) {
            console.err << *failure << Qt::endl;
            ++damaged;
            continue;
        }
        if (source.bytes.trimmed().isEmpty()) {
            console.err << QStringLiteral("%1: soubor je prázdný.").arg(source.name) << Qt::endl;
            ++damaged;
            continue;
        }
        if (source.bytes.contains('\0')) {
            console.err << QStringLiteral("%1: není textový soubor, zprávu v něm nelze hledat.")
                               .arg(source.name)
                        << Qt::endl;
            ++damaged;
            continue;
        }
        // Saved mails are UTF-8 or the mail program's code page; the tokens are plain ASCII
        // either way, so only the letter around them may come out wrong, never a report.
        const QList<FoundReport> found = findReports(QString::fromUtf8(source.bytes));
        if (found.isEmpty()) {
            console.err << QStringLiteral("%1: žádná zpráva od žáka v něm není.").arg(source.name)
                        << Qt::endl;
            ++damaged;
            continue;
        }
        for (const FoundReport& report : found) {
            const DecodedReport text = decodeReport(report.encoded);
            if (!text.ok()) {
                console.err << QStringLiteral("%1, řádek %2: %3")
                                   .arg(source.name)
                                   .arg(report.lineOfToken(text.badToken))
                                   .arg(text.error)
                            << Qt::endl;
                ++damaged;
                continue;
            }
            const ParsedReport parsed = parseReportText(text.text);
            if (!parsed.ok()) {
                console.err << QStringLiteral("%1, řádek %2: %3")
                                   .arg(source.name)
                                   .arg(report.firstLine())
                                   .arg(parsed.error)
                            << Qt::endl;
                ++damaged;
                continue;
            }
            ++decoded;
            console.out
                << QStringLiteral("== %1, řádek %2 ==").arg(source.name).arg(report.firstLine())
                << Qt::endl
                << QString(text.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                << Qt::endl;
            const ReportFields& fields = parsed.fields;
            table.addRow({fields.pupilName, fields.pupilClass, fields.from, fields.to,
                          QString::number(fields.total), QString::number(fields.right),
                          QString::number(fields.wrong)});
        }
    }

    if (!request.csvPath.isEmpty()) {
        if (const QString failure = writeTableFile(request.csvPath, table); !failure.isEmpty()) {
            return console.fail(failure);
        }
    }
    console.out << QStringLiteral("Dekódováno zpráv: %1, nepřečteno: %2.").arg(decoded).arg(damaged)
                << Qt::endl;
    return damaged == 0 ? Console::ExitSuccess : Console::ExitFailure;
}

} // namespace voltmetr::teacher
