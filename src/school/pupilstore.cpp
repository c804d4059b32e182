#include "school/pupilstore.h"

#include "school/failurereason.h"
#include "school/schooldatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace voltmetr {

QString readProfiles(QSqlDatabase& db, std::vector<Profile>& pupils)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString table = quotedName(PupilsTable);
    if (QString failure = runBound(query, QStringLiteral("SELECT %1.\"Prijmeni\", %1.\"Trida\" "
                                                         "FROM %1 ORDER BY rowid")
                                              .arg(table));
        !failure.isEmpty()) {
        return failure;
    }
    while (query.next()) {
        pupils.push_back({query.value(0).toString(), query.value(1).toString()});
    }
    return readFailure(query);
}

PupilsAdded addMissingPupils(QSqlDatabase& db, const std::vector<Profile>& pupils)
{
    PupilsAdded result;
    // Each statement is prepared once and run for every pupil of the list.
    const QString table = quotedName(PupilsTable);
    QSqlQuery exists(db);
    QSqlQuery insert(db);
    if (!exists.prepare(QStringLiteral(R"(SELECT 1 FROM %1 WHERE "Prijmeni" = ? AND "Trida" = ?)")
                            .arg(table))) {
        result.error = databaseFailureReason(exists.lastError());
        return result;
    }
    if (!insert.prepare(
            QStringLiteral(R"(INSERT INTO %1 ("Prijmeni", "Trida") VALUES (?, ?))").arg(table))) {
        result.error = databaseFailureReason(insert.lastError());
        return result;
    }
    const auto addOne = [&](const Profile& pupil) -> QString {
        exists.addBindValue(pupil.surname);
        exists.addBindValue(pupil.className);
        if (!exists.exec()) {
            return databaseFailureReason(exists.lastError());
        }
        const bool listed = exists.next();
        exists.finish();
        if (listed) {
            ++result.present;
            return {};
        }
        insert.addBindValue(pupil.surname);
        insert.addBindValue(pupil.className);
        if (!insert.exec()) {
            return databaseFailureReason(insert.lastError());
        }
        ++result.added;
        return {};
    };
    for (std::size_t i = 0; i < pupils.size(); ++i) {
        if (QString failure = addOne(pupils[i]); !failure.isEmpty()) {
            result.failedAt = static_cast<qsizetype>(i);
            result.error = failure;
            break;
        }
    }
    return result;
}

} // namespace voltmetr
