#include "school/storedreports.h"

#include "school/schooldatabase.h"

#include <QSqlQuery>

namespace voltmetr {

QString readReportStored(QSqlDatabase& db, const QString& identity, bool& stored)
{
    QSqlQuery query(db);
    const QString failure = runBound(
        query,
        QStringLiteral(R"(SELECT 1 FROM %1 WHERE "Otisk" = ?)").arg(quotedName(StoredReportsTable)),
        {identity});
    stored = failure.isEmpty() && query.next();
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
