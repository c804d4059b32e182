#include "school/pupiledits.h"

#include "school/classname.h"
#include "school/failurereason.h"
#include "school/pupilstore.h"
#include "school/runstore.h"
#include "school/schooldatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <functional>

namespace voltmetr {

namespace {

const QString whereNamed = QStringLiteral(" WHERE \"Prijmeni\" = ? AND \"Trida\" = ?");

// How many rows of the table hold the pupil's name, through `count`.
QString countNamed(QSqlDatabase& db, const char* table, const Profile& pupil, qint64& count)
{
    QSqlQuery query(db);
    if (QString failure = runBound(
            query, QStringLiteral("SELECT COUNT(*) FROM %1").arg(quotedName(table)) + whereNamed,
            {pupil.surname, pupil.className});
        !failure.isEmpty()) {
        return failure;
    }
    if (!query.next()) {
        return databaseFailureReason(query.lastError());
    }
    count = query.value(0).toLongLong();
    return {};
}

// Gives every row of the table that holds `from`'s name `to`'s; `changed` counts them.
QString renameRows(QSqlDatabase& db, const char* table, const Profile& from, const Profile& to,
                   qint64& changed)
{
    QSqlQuery query(db);
    if (QString failure = runBound(
            query,
            QStringLiteral("UPDATE %1 SET \"Prijmeni\" = ?, \"Trida\" = ?").arg(quotedName(table)) +
                whereNamed,
            {to.surname, to.className, from.surname, from.className});
        !failure.isEmpty()) {
        return failure;
    }
    changed = query.numRowsAffected();
    return {};
}

QString unlist(QSqlDatabase& db, const Profile& pupil)
{
    QSqlQuery query(db);
    return runBound(query,
                    QStringLiteral("DELETE FROM %1").arg(quotedName(PupilsTable)) + whereNamed,
                    {pupil.surname, pupil.className});
}

// Where the pupil is found: listed, and with how many runs.
struct Found
{
    qint64 listed = 0;
    qint64 runs = 0;
};

QString find(QSqlDatabase& db, const Profile& pupil, Found& found)
{
    QString failure = countNamed(db, PupilsTable, pupil, found.listed);
    return failure.isEmpty() ? countNamed(db, ResultsTable, pupil, found.runs) : failure;
}

QString notFound(const Profile& pupil)
{
    return QStringLiteral("žák %1 není v seznamu a nemá uložený žádný běh").arg(pupilName(pupil));
}

// What a rename or a merge of `from` onto `other` looks at first: how often `other` is listed,
// and whether `from` is a pupil at all and another one than `other`, which the edit refuses.
QString findPair(QSqlDatabase& db, const Profile& from, const Profile& other, PupilEdit& edit,
                 qint64& otherListed)
{
    Found found;
    QString failure = find(db, from, found);
    if (failure.isEmpty()) {
        failure = countNamed(db, PupilsTable, other, otherListed);
    }
    if (failure.isEmpty() && from == other) {
        edit.error = QStringLiteral("žák %1 je týž jako %2").arg(pupilName(from), pupilName(other));
    } else if (failure.isEmpty() && found.listed == 0 && found.runs == 0) {
        edit.error = notFound(from);
    }
    return failure;
}

// Runs change inside one write transaction, which waits its turn as the pupils' saves do, and
// keeps what it did only when all of it succeeded; change sets the edit's error to refuse.
PupilEdit inOneWrite(QSqlDatabase& db, const std::function<QString(PupilEdit&)>& change)
{
    PupilEdit edit;
    edit.error = beginWriting(db);
    if (!edit.ok()) {
        return edit;
    }
    if (const QString failure = change(edit); !failure.isEmpty() || !edit.ok()) {
        rollBackWriting(db); // a failure of its own is logged; the first one is the reason
        edit.error = failure.isEmpty() ? edit.error : failure;
        edit.runs = 0;
        return edit;
    }
    edit.error = commitWriting(db);
    if (!edit.ok()) {
        rollBackWriting(db);
    }
    return edit;
}

} // namespace

QString pupilName(const Profile& pupil)
{
    return QStringLiteral("%1 (%2)").arg(pupil.surname, pupil.className);
}

PupilEdit renamePupil(QSqlDatabase& db, const Profile& from, const Profile& to)
{
    return inOneWrite(db, [&](PupilEdit& edit) {
        qint64 taken = 0;
        QString failure = findPair(db, from, to, edit, taken);
        if (failure.isEmpty() && edit.ok() && taken > 0) {
            edit.error = QStringLiteral("žák %1 už v seznamu je").arg(pupilName(to));
            edit.mergeInstead = true;
        }
        if (!failure.isEmpty() || !edit.ok()) {
            return failure;
        }
        qint64 listed = 0;
        failure = renameRows(db, PupilsTable, from, to, listed);
        return failure.isEmpty() ? renameRows(db, ResultsTable, from, to, edit.runs) : failure;
    });
}

PupilEdit mergePupils(QSqlDatabase& db, const Profile& from, const Profile& into)
{
    return inOneWrite(db, [&](PupilEdit& edit) {
        qint64 kept = 0;
        QString failure = findPair(db, from, into, edit, kept);
        if (failure.isEmpty() && edit.ok() && kept == 0) {
            edit.error = QStringLiteral("žák %1 není v seznamu; sloučit lze jen do žáka ze seznamu")
                             .arg(pupilName(into));
        }
        if (!failure.isEmpty() || !edit.ok()) {
            return failure;
        }
        failure = renameRows(db, ResultsTable, from, into, edit.runs);
        return failure.isEmpty() ? unlist(db, from) : failure;
    });
}

PupilEdit removePupil(QSqlDatabase& db, const Profile& who)
{
    return inOneWrite(db, [&](PupilEdit& edit) {
        Found found;
        if (QString failure = find(db, who, found); !failure.isEmpty()) {
            return failure;
        }
        if (found.listed == 0) {
            edit.error = QStringLiteral("žák %1 není v seznamu").arg(pupilName(who));
            return QString();
        }
        edit.runs = found.runs;
        return unlist(db, who);
    });
}

std::vector<ClassUnified> unifyClassNames(QSqlDatabase& db)
{
    std::vector<ClassUnified> done;
    std::vector<PupilRunTotals> pupils; // the listed ones and every name with runs
    if (QString failure = readClassTotals(db, {}, pupils); !failure.isEmpty()) {
        done.push_back({{}, {}, false, {0, failure}});
        return done;
    }
    for (const PupilRunTotals& pupil : pupils) {
        const Profile from{pupil.surname, pupil.className};
        const Profile to{pupil.surname, unifiedClassName(pupil.className)};
        if (to == from) {
            continue;
        }
        // An earlier step may have listed the unified name.
        std::vector<Profile> listed;
        if (QString failure = readProfiles(db, listed); !failure.isEmpty()) {
            done.push_back({from, to, false, {0, failure}});
            break;
        }
        const bool merged = std::find(listed.begin(), listed.end(), to) != listed.end();
        done.push_back(
            {from, to, merged, merged ? mergePupils(db, from, to) : renamePupil(db, from, to)});
        if (!done.back().edit.ok()) {
            break;
        }
    }
    return done;
}

} // namespace voltmetr
