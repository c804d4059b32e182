#include "app/oledate.h"
#include "csvtable.h"
#include "czechorder.h"
#include "school/failurereason.h"
#include "school/schooldatabase.h"
#include "schoolconnection.h"
#include "teachertool.h"

#include <QLocale>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace voltmetr::teacher {

namespace {

QString dateText(const QVariant& value)
{
    return value.isNull()
               ? QString()
               : fromOleDate(value.toDouble()).date().toString(QStringLiteral("dd.MM.yyyy"));
}

QString timeText(const QVariant& value)
{
    return value.isNull()
               ? QString()
               : fromOleDate(value.toDouble()).time().toString(QStringLiteral("hh:mm:ss"));
}

QString numberText(const QVariant& value)
{
    return value.isNull() ? QString() : QString::number(value.toLongLong());
}

struct PupilTotals
{
    QString surname;
    QString pupilClass;
    qint64 runs = 0;
    qint64 right = 0;
    qint64 wrong = 0;
};

// Every pupil with results, and every pupil of the list without any (the teacher wants to see
// who has not practised yet), in Czech alphabetical order by class, then surname.
std::optional<QList<PupilTotals>> readTotals(QSqlDatabase& db, const QString& pupilClass,
                                             QString& failure)
{
    const QString onlyClass =
        pupilClass.isEmpty() ? QString() : QStringLiteral(R"(WHERE "Trida" = ?)");
    // A pupil row with a NULL count adds nothing, as in the pupils' own totals.
    const QString statements[] = {
        QStringLiteral(R"(SELECT COALESCE("Prijmeni", ''), COALESCE("Trida", ''), COUNT(*),)"
                       R"( SUM(COALESCE("Spravne", 0)), SUM(COALESCE("Chybne", 0)) FROM "%1" %2)"
                       R"( GROUP BY 1, 2)")
            .arg(QLatin1String(ResultsTable), onlyClass),
        QStringLiteral(R"(SELECT COALESCE("Prijmeni", ''), COALESCE("Trida", ''), 0, 0, 0)"
                       R"( FROM "%1" %2)")
            .arg(QLatin1String(PupilsTable), onlyClass),
    };
    QList<PupilTotals> totals;
    QSet<std::pair<QString, QString>> seen;
    for (const QString& statement : statements) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.prepare(statement)) {
            failure = databaseFailureReason(query.lastError());
            return std::nullopt;
        }
        if (!pupilClass.isEmpty()) {
            query.addBindValue(pupilClass);
        }
        if (!query.exec()) {
            failure = databaseFailureReason(query.lastError());
            return std::nullopt;
        }
        while (query.next()) {
            PupilTotals row{query.value(0).toString(), query.value(1).toString(),
                            query.value(2).toLongLong(), query.value(3).toLongLong(),
                            query.value(4).toLongLong()};
            // The results come first, so a listed pupil with results appears once, with them.
            if (!seen.contains({row.surname, row.pupilClass})) {
                seen.insert({row.surname, row.pupilClass});
                totals.append(row);
            }
        }
    }
    sortByClassThenSurname(totals);
    return totals;
}

} // namespace

int exportResults(const Request& request, Console& console)
{
    SchoolConnection connection(request.databasePath, SchoolConnection::Access::Read);
    if (const QString problem = schoolDatabaseProblem(request.databasePath, connection);
        !problem.isEmpty()) {
        return console.fail(problem);
    }
    QSqlQuery query(connection.db());
    query.setForwardOnly(true);
    const QString statement =
        QStringLiteral(R"(SELECT "Prijmeni", "Trida", "Spravne", "Chybne", "CasStrt", "CasEnd",)"
                       R"( "Datum", "Prihlasenjako", "TypZkous" FROM "%1" ORDER BY rowid)")
            .arg(QLatin1String(ResultsTable));
    if (!query.exec(statement)) {
        return console.fail(databaseFailure(QStringLiteral("Čtení výsledků"),
                                            databaseFailureReason(query.lastError())));
    }
    CsvTable table({QStringLiteral("Příjmení"), QStringLiteral("Třída"), QStringLiteral("Správně"),
                    QStringLiteral("Chybně"), QStringLiteral("Začátek"), QStringLiteral("Konec"),
                    QStringLiteral("Datum"), QStringLiteral("Přihlášen jako"),
                    QStringLiteral("Typ zkoušky")});
    int rows = 0;
    while (query.next()) {
        table.addRow({query.value(0).toString(), query.value(1).toString(),
                      numberText(query.value(2)), numberText(query.value(3)),
                      timeText(query.value(4)), timeText(query.value(5)), dateText(query.value(6)),
                      query.value(7).toString(), numberText(query.value(8))});
        ++rows;
    }
    if (query.lastError().isValid()) {
        return console.fail(databaseFailure(QStringLiteral("Čtení výsledků"),
                                            databaseFailureReason(query.lastError())));
    }
    if (request.outputPath.isEmpty()) {
        console.out.flush();
        console.out.device()->write(table.bytes());
        return Console::ExitSuccess;
    }
    if (const QString failure = writeTableFile(request.outputPath, table); !failure.isEmpty()) {
        return console.fail(failure);
    }
    console.out << QStringLiteral("Zapsáno výsledků: %1 do %2.").arg(rows).arg(request.outputPath)
                << Qt::endl;
    return Console::ExitSuccess;
}

int printTotals(const Request& request, Console& console)
{
    SchoolConnection connection(request.databasePath, SchoolConnection::Access::Read);
    if (const QString problem = schoolDatabaseProblem(request.databasePath, connection);
        !problem.isEmpty()) {
        return console.fail(problem);
    }
    QString failure;
    const auto totals = readTotals(connection.db(), request.pupilClass, failure);
    if (!totals) {
        return console.fail(databaseFailure(QStringLiteral("Čtení výsledků"), failure));
    }
    if (totals->isEmpty()) {
        return console.fail(
            request.pupilClass.isEmpty()
                ? QStringLiteral("V databázi nejsou žádní žáci ani výsledky.")
                : QStringLiteral("Třída %1 nemá v databázi žádné žáky ani výsledky.")
                      .arg(request.pupilClass));
    }

    const QLocale locale = QLocale::system();
    qsizetype surnameWidth = QStringLiteral("Příjmení").size();
    qsizetype classWidth = QStringLiteral("Třída").size();
    for (const PupilTotals& pupil : *totals) {
        surnameWidth = std::max(surnameWidth, pupil.surname.size());
        classWidth = std::max(classWidth, pupil.pupilClass.size());
    }
    const auto row = [&](const QString& surname, const QString& pupilClass,
                         const QStringList& numbers) {
        QString line =
            surname.leftJustified(surnameWidth + 2) + pupilClass.leftJustified(classWidth);
        const int widths[] = {9, 7, 8, 11};
        for (qsizetype i = 0; i < numbers.size(); ++i) {
            line += numbers[i].rightJustified(widths[i]);
        }
        console.out << line << Qt::endl;
    };
    row(QStringLiteral("Příjmení"), QStringLiteral("Třída"),
        {QStringLiteral("Cvičení"), QStringLiteral("Dobře"), QStringLiteral("Špatně"),
         QStringLiteral("Úspěšnost")});
    for (const PupilTotals& pupil : *totals) {
        const qint64 answers = pupil.right + pupil.wrong;
        const QString percent = answers == 0
                                    ? QStringLiteral("–")
                                    : locale.toString(static_cast<double>(pupil.right) /
                                                          static_cast<double>(answers) * 100.0,
                                                      'f', 2) +
                                          QStringLiteral(" %");
        row(pupil.surname, pupil.pupilClass,
            {QString::number(pupil.runs), QString::number(pupil.right),
             QString::number(pupil.wrong), percent});
    }
    return Console::ExitSuccess;
}

} // namespace voltmetr::teacher
