#include "app/filewrite.h"
#include "classoverview.h"
#include "school/pupiledits.h"
#include "school/schooldatabase.h"
#include "school/schoolschema.h"
#include "schoolconnection.h"
#include "taskstatistics.h"
#include "teachertool.h"

#include <QDate>
#include <QLocale>
#include <QSqlRecord>
#include <algorithm>

namespace voltmetr::teacher {

namespace {

// The statistics of the request's class (or of all), or the exit code of the reason why not.
// The shares by day and by meter only for an overview, whose charts show them.
std::optional<ClassStatistics> statisticsFor(const Request& request, bool charts, Console& console,
                                             int& exitCode)
{
    QString failure;
    std::optional<ClassStatistics> statistics =
        readStatisticsAt(request.databasePath,
                         {request.pupilClass, request.period, request.byNeed, charts}, failure);
    if (!statistics) {
        exitCode = console.fail(failure);
    } else if (statistics->pupils.isEmpty()) {
        exitCode =
            console.fail(request.pupilClass.isEmpty()
                             ? QStringLiteral("V databázi nejsou žádní žáci ani výsledky.")
                             : QStringLiteral("Třída %1 nemá v databázi žádné žáky ani výsledky.")
                                   .arg(request.pupilClass));
        statistics.reset();
    }
    return statistics;
}

// How many of the pupils never practised, for the line under a command's output.
qsizetype neverPractisedCount(const ClassStatistics& statistics)
{
    return std::ranges::count_if(
        statistics.pupils, [](const PupilTally& pupil) { return pupil.tally.neverPractised(); });
}

const QString noTaskLog = QStringLiteral(
    "Databáze nemá tabulku úloh, proto chybí úlohy, zničené měřáky, čas a chyby podle druhu; "
    "doplní ji příkaz aktualizuj.");

} // namespace

int upgradeDatabase(const Request& request, Console& console)
{
    SchoolConnection connection(request.databasePath, SchoolConnection::Access::Write);
    if (const QString problem = schoolDatabaseProblem(request.databasePath, connection);
        !problem.isEmpty()) {
        return console.fail(problem);
    }
    QSqlDatabase& db = connection.db();
    const auto missing = [&](const char* table) {
        return db.record(QString::fromLatin1(table)).isEmpty();
    };
    const bool addTasks = missing(TaskLogTable);
    const bool addReports = missing(StoredReportsTable);
    if (addTasks) {
        if (const QString failure = addTaskLogTable(db); !failure.isEmpty()) {
            return console.fail(databaseFailure(
                QStringLiteral("Doplnění tabulky úloh do %1").arg(request.databasePath), failure));
        }
        console.out << QStringLiteral("Do databáze %1 je doplněna tabulka úloh; program žáků do "
                                      "ní od teď zapisuje každou úlohu.")
                           .arg(request.databasePath)
                    << Qt::endl;
    }
    if (addReports) {
        if (const QString failure = addStoredReportsTable(db); !failure.isEmpty()) {
            return console.fail(databaseFailure(
                QStringLiteral("Doplnění tabulky uložených zpráv do %1").arg(request.databasePath),
                failure));
        }
        console.out << QStringLiteral("Do databáze %1 je doplněna tabulka uložených zpráv; "
                                      "dekoduj --ulozit v ní pozná zprávy, které už uložil.")
                           .arg(request.databasePath)
                    << Qt::endl;
    }
    QStringList changes;
    if (isServerConnection(db)) {
        if (const QString failure = bringServerRightsUpToDate(db, changes); !failure.isEmpty()) {
            return console.fail(databaseFailure(
                QStringLiteral("Nastavení práv v %1").arg(request.databasePath), failure));
        }
        if (const QString failure = bringLikeliestCausesUpToDate(db, changes); !failure.isEmpty()) {
            return console.fail(databaseFailure(
                QStringLiteral("Doplnění příčin chyb do %1").arg(request.databasePath), failure));
        }
        for (const QString& change : changes) {
            console.out << change << Qt::endl;
        }
    }
    // A database from before the classes were written one way may hold "3A" beside "3.A".
    const std::vector<ClassUnified> unified = unifyClassNames(db);
    for (const ClassUnified& change : unified) {
        if (!change.edit.ok()) {
            return console.fail(databaseFailure(
                QStringLiteral("Jednotný zápis tříd v %1").arg(request.databasePath),
                change.edit.error));
        }
        console.out << pupilChanged(change.from, change.to, change.merged, change.edit.runs)
                    << Qt::endl;
    }
    if (!addTasks && !addReports && changes.isEmpty() && unified.empty()) {
        console.out << QStringLiteral("Databáze %1 už je aktuální.").arg(request.databasePath)
                    << Qt::endl;
    }
    return Console::ExitSuccess;
}

int printStatistics(const Request& request, Console& console)
{
    int exitCode = Console::ExitSuccess;
    const std::optional<ClassStatistics> statistics =
        statisticsFor(request, false, console, exitCode);
    if (!statistics) {
        return exitCode;
    }
    const QLocale locale = QLocale::system();
    std::vector<QStringList> rows;
    rows.push_back(QStringList{QStringLiteral("Příjmení"), QStringLiteral("Třída")} +
                   tallyHeadings());
    // A pupil who never practised has no figures to show, only the mark.
    for (const PupilTally& pupil : statistics->pupils) {
        rows.push_back(QStringList{pupil.surname, pupil.pupilClass} +
                       (pupil.tally.neverPractised() ? QStringList{neverPractisedMark()}
                                                     : tallyCells(pupil.tally, locale)));
    }
    for (const auto& [pupilClass, tally] : statistics->classes) {
        rows.push_back(QStringList{QStringLiteral("Třída celkem"), pupilClass} +
                       tallyCells(tally, locale));
    }
    std::vector<qsizetype> widths(rows.front().size(), 0);
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size() && row.size() == rows.front().size(); ++i) {
            widths[static_cast<std::size_t>(i)] =
                std::max(widths[static_cast<std::size_t>(i)], row[i].size());
        }
    }
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i) {
            const qsizetype width = widths[static_cast<std::size_t>(i)];
            // Names and the mark to the left, figures to the right.
            const bool name = i < 2 || row.size() < rows.front().size();
            line += name ? row[i].leftJustified(width + 2) : row[i].rightJustified(width + 2);
        }
        console.out << line.trimmed() << Qt::endl;
    }
    console.out << Qt::endl;
    if (!request.period.whole()) {
        console.out << QStringLiteral("Období: %1.").arg(periodText(request.period)) << Qt::endl;
    }
    console.out << rightShareDefinition() << Qt::endl;
    if (const qsizetype idle = neverPractisedCount(*statistics); idle > 0) {
        console.out << (request.period.whole()
                            ? QStringLiteral("Žáků, kteří ani jednou necvičili: %1 z %2.")
                            : QStringLiteral("Žáků, kteří v období ani jednou necvičili: %1 z %2."))
                           .arg(idle)
                           .arg(statistics->pupils.size())
                    << Qt::endl;
    }
    console.out << mistakeColumnsLegend() << Qt::endl;
    if (!statistics->taskLogPresent) {
        console.out << noTaskLog << Qt::endl;
    }
    return Console::ExitSuccess;
}

int writeClassOverview(const Request& request, Console& console)
{
    int exitCode = Console::ExitSuccess;
    const std::optional<ClassStatistics> statistics =
        statisticsFor(request, true, console, exitCode);
    if (!statistics) {
        return exitCode;
    }
    const QString html = classOverviewHtml(
        classOverview(*statistics, classOverviewTitle(request.pupilClass, request.period),
                      QDate::currentDate(), QLocale::system()));
    if (const QString reason = writeWholeFile(request.outputPath, html.toUtf8());
        !reason.isEmpty()) {
        return console.fail(
            QStringLiteral("Soubor %1 nelze zapsat: %2").arg(request.outputPath, reason));
    }
    console.out << QStringLiteral("Přehled je zapsán do %3 (žáků: %1, z toho necvičilo: %2).")
                       .arg(statistics->pupils.size())
                       .arg(neverPractisedCount(*statistics))
                       .arg(request.outputPath)
                << Qt::endl;
    if (!statistics->taskLogPresent) {
        console.out << noTaskLog << Qt::endl;
    }
    return Console::ExitSuccess;
}

} // namespace voltmetr::teacher
