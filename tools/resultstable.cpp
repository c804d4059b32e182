#include "resultstable.h"

#include "app/oledate.h"
#include "school/runstore.h"
#include "schoolconnection.h"

namespace voltmetr::teacher {

namespace {

QString dateText(const std::optional<double>& value)
{
    return value ? fromOleDate(*value).date().toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString timeText(const std::optional<double>& value)
{
    return value ? fromOleDate(*value).time().toString(QStringLiteral("hh:mm:ss")) : QString();
}

QString numberText(const std::optional<qint64>& value)
{
    return value ? QString::number(*value) : QString();
}

} // namespace

std::optional<CsvTable> readResultsTableAt(const QString& location, const QString& pupilClass,
                                           const Period& period, QString& failure)
{
    SchoolConnection connection(location, SchoolConnection::Access::Read);
    if (failure = schoolDatabaseProblem(location, connection); !failure.isEmpty()) {
        return std::nullopt;
    }
    std::vector<StoredResult> results;
    if (failure = readStoredResults(connection.db(), results, pupilClass, period);
        !failure.isEmpty()) {
        failure = databaseFailure(QStringLiteral("Čtení výsledků"), failure);
        return std::nullopt;
    }
    CsvTable table({QStringLiteral("Příjmení"), QStringLiteral("Třída"), QStringLiteral("Správně"),
                    QStringLiteral("Chybně"), QStringLiteral("Začátek"), QStringLiteral("Konec"),
                    QStringLiteral("Datum"), QStringLiteral("Přihlášen jako"),
                    QStringLiteral("Typ zkoušky")});
    for (const StoredResult& result : results) {
        table.addRow({result.surname, result.className, numberText(result.rightCount),
                      numberText(result.wrongCount), timeText(result.startTime),
                      timeText(result.endTime), dateText(result.date), result.loginName,
                      numberText(result.examType)});
    }
    return table;
}

} // namespace voltmetr::teacher
