#include "results/schooldatabase.h"

#include "results/failurereason.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace voltmetr {

QString createSchoolSchema(QSqlDatabase& db)
{
    const char* statements[] = {
        R"(CREATE TABLE "Zaci" ("Prijmeni" TEXT, "Trida" TEXT))",
        R"(CREATE TABLE "Prehled " ("Prijmeni" TEXT, "Trida" TEXT, "Spravne" INTEGER,)"
        R"( "Chybne" INTEGER, "CasStrt" REAL, "CasEnd" REAL, "Datum" REAL,)"
        R"( "Prihlasenjako" TEXT, "TypZkous" INTEGER))",
        R"(CREATE INDEX "Prehled_Prijmeni" ON "Prehled " ("Prijmeni"))",
    };
    if (!db.transaction()) {
        return databaseFailureReason(db.lastError());
    }
    for (const char* statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(QString::fromUtf8(statement))) {
            const QString reason = databaseFailureReason(query.lastError());
            db.rollback();
            return reason;
        }
    }
    if (!db.commit()) {
        return databaseFailureReason(db.lastError());
    }
    return {};
}

} // namespace voltmetr
