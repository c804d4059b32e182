#include "schoolconnection.h"

#include "app/procedury.h"
#include "school/schoolschema.h"

#include <QFileInfo>

namespace voltmetr::teacher {

QString schoolDatabaseProblem(const QString& path, SchoolConnection& connection)
{
    if (!isServerLocation(path) && !QFileInfo(path).isFile()) {
        return FileExists(path)
                   ? QStringLiteral("%1 není soubor databáze.").arg(path)
                   : QStringLiteral("Databáze %1 neexistuje; založte ji příkazem zaloz.").arg(path);
    }
    if (!connection.openError().isEmpty()) {
        return QStringLiteral("Databázi %1 nelze otevřít: %2").arg(path, connection.openError());
    }
    if (const QString missing = checkSchoolSchema(connection.db()); !missing.isEmpty()) {
        return QStringLiteral("%1 není školní databáze Voltmetru: %2").arg(path, missing);
    }
    return {};
}

QString databaseFailure(const QString& doing, const QString& reason)
{
    return QStringLiteral("%1 se nezdařilo: %2").arg(doing, reason);
}

} // namespace voltmetr::teacher
