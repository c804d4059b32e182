#include "schoolconnection.h"

#include "app/procedury.h"
#include "results/failurereason.h"
#include "results/schooldatabase.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace voltmetr::teacher {

namespace {

int nextConnection = 0;

// Every column the pupils' program reads or writes, so that a database from elsewhere is
// refused here rather than at a pupil's desk.
QString missingSchema(QSqlDatabase& db)
{
    const QString probes[] = {
        QStringLiteral(R"(SELECT "Prijmeni", "Trida" FROM "%1" WHERE 0)")
            .arg(QLatin1String(PupilsTable)),
        QStringLiteral(R"(SELECT "Prijmeni", "Trida", "Spravne", "Chybne", "CasStrt", "CasEnd",)"
                       R"( "Datum", "Prihlasenjako", "TypZkous" FROM "%1" WHERE 0)")
            .arg(QLatin1String(ResultsTable)),
    };
    for (const QString& probe : probes) {
        QSqlQuery query(db);
        if (!query.exec(probe)) {
            return databaseFailureReason(query.lastError());
        }
    }
    return {};
}

} // namespace

SchoolConnection::SchoolConnection(const QString& path, Access access)
    : m_connectionName(QStringLiteral("voltmetr-ucitel-%1").arg(++nextConnection))
{
    if (!QFileInfo(path).isFile()) {
        m_error =
            FileExists(path)
                ? QStringLiteral("%1 není soubor databáze.").arg(path)
                : QStringLiteral("Databáze %1 neexistuje; založte ji příkazem zaloz.").arg(path);
        return;
    }
    m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_database.setDatabaseName(path);
    // Pupils may be storing results at the same moment; wait for them as the program does.
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000");
    if (access == Access::ReadOnly) {
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    }
    m_database.setConnectOptions(options);
    if (!m_database.open()) {
        m_error = QStringLiteral("Databázi %1 nelze otevřít: %2")
                      .arg(path, databaseFailureReason(m_database.lastError()));
        return;
    }
    if (const QString missing = missingSchema(m_database); !missing.isEmpty()) {
        m_error = QStringLiteral("%1 není školní databáze Voltmetru: %2").arg(path, missing);
    }
}

SchoolConnection::~SchoolConnection()
{
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString databaseFailure(const QString& doing, const QString& reason)
{
    return QStringLiteral("%1 se nezdařilo: %2").arg(doing, reason);
}

} // namespace voltmetr::teacher
