#include "classlist.h"
#include "school/classname.h"
#include "school/pupiledits.h"
#include "school/schooldatabase.h"
#include "schoolconnection.h"
#include "teachertool.h"

#include <functional>

namespace voltmetr::teacher {

QString pupilChanged(const Profile& from, const Profile& to, bool merged, qint64 runs)
{
    return (merged ? QStringLiteral("Žák %1 je sloučen do žáka %2, převedeno běhů: %3.")
                   : QStringLiteral("Žák %1 je teď %2, převedeno běhů: %3."))
        .arg(pupilName(from), pupilName(to))
        .arg(runs);
}

QString pupilRemoved(const Profile& who, qint64 runs)
{
    return QStringLiteral("Žák %1 je vyřazen ze seznamu; jeho běhy (%2) zůstávají v databázi.")
        .arg(pupilName(who))
        .arg(runs);
}

PupilEdit editPupilAt(const QString& location, const std::function<PupilEdit(QSqlDatabase&)>& edit)
{
    SchoolConnection connection(location, SchoolConnection::Access::Write);
    if (QString problem = schoolDatabaseProblem(location, connection); !problem.isEmpty()) {
        return {0, problem};
    }
    PupilEdit done = edit(connection.db());
    if (!done.ok()) {
        done.error = QStringLiteral("Nic se nezměnilo: %1.").arg(done.error);
    }
    return done;
}

int changePupils(const Request& request, Console& console)
{
    const Profile pupil{request.files.value(0), request.files.value(1)};
    // A pupil moved to another class gets it written one way, as import writes it.
    const Profile other{request.files.value(2), request.command == Command::Rename
                                                    ? unifiedClassName(request.files.value(3))
                                                    : request.files.value(3)};
    // The new name must come back whole from the sign-in list, as a list's line must.
    if (const QString problem = listEntryProblem(other);
        request.command == Command::Rename && !problem.isEmpty()) {
        return console.fail(QStringLiteral("Nic se nezměnilo: %1.").arg(problem));
    }
    QString done;
    const PupilEdit edit = editPupilAt(request.databasePath, [&](QSqlDatabase& db) {
        switch (request.command) {
        case Command::Rename: {
            PupilEdit renamed = renamePupil(db, pupil, other);
            if (renamed.mergeInstead) {
                renamed.error += QStringLiteral("; jeho a tyto běhy spojí příkaz sluc");
            }
            done = pupilChanged(pupil, other, false, renamed.runs);
            return renamed;
        }
        case Command::Merge: {
            const PupilEdit merged = mergePupils(db, pupil, other);
            done = pupilChanged(pupil, other, true, merged.runs);
            return merged;
        }
        default: {
            const PupilEdit removed = removePupil(db, pupil);
            done = pupilRemoved(pupil, removed.runs);
            return removed;
        }
        }
    });
    if (!edit.ok()) {
        return console.fail(edit.error);
    }
    console.out << done << Qt::endl;
    return Console::ExitSuccess;
}

} // namespace voltmetr::teacher
