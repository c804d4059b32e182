#include "school/storedreports.h"

#include "school/schooldatabase.h"

#include <QSqlQuery>

namespace voltmetr {

QString readStoredReports(QSqlDatabase& db, QSet<QString>& identities)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString failure = runBound(
        query, QStringLiteral(R"(SELECT "Otisk" FROM %1)").arg(quotedName(StoredReportsTable)));
    while (failure.isEmpty() && query.next()) {
        identities.insert(query.value(0).toString());
    }
    return failure;
}

QString rememberStoredReport(QSqlDatabase& db, const QString& identity)
{
    QSqlQuery query(db);
    return runBound(query,
                    QStringLiteral(R"(INSERT INTO %1 ("Otisk") VALUES (?))")
                        .arg(quotedName(StoredReportsTable)),
                    {identity});
}

} // namespace voltmetr
