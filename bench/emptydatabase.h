#pragma once

#include "school/schooldatabase.h"
#include "school/schoolschema.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace voltmetr::bench {

// An empty school database at the location, as the teacher's tool makes it: a file made anew,
// or on a server the school tables dropped and made anew. Empty on success, else the reason.
inline QString emptySchoolDatabase(const QString& location)
{
    const bool server = isServerLocation(location);
    if (!server) {
        QFile::remove(location);
        if (QFile file(location); !file.open(QIODevice::WriteOnly)) {
            return file.errorString();
        }
    }
    SchoolConnection connection(location, SchoolConnection::Access::Write);
    if (!connection.openError().isEmpty()) {
        return connection.openError();
    }
    if (server) {
        QSqlQuery drop(connection.db());
        const QStringList tables = {quotedName(ResultsTable), quotedName(PupilsTable),
                                    quotedName(TaskLogTable), quotedName(StoredReportsTable),
                                    quotedName(StoredRunsTable)};
        if (!drop.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(tables.join(u", ")))) {
            return drop.lastError().text();
        }
    }
    return createSchoolSchema(connection.db());
}

} // namespace voltmetr::bench
