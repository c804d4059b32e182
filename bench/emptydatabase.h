#pragma once

#include "results/schooldatabase.h"

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
        if (!drop.exec(QStringLiteral(R"(DROP TABLE IF EXISTS "Prehled ", "Zaci")"))) {
            return drop.lastError().text();
        }
    }
    return createSchoolSchema(connection.db());
}

} // namespace voltmetr::bench
