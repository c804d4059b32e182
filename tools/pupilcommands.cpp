#include "school/pupiledits.h"
#include "school/schooldatabase.h"
#include "schoolconnection.h"
#include "teachertool.h"

namespace voltmetr::teacher {

int changePupils(const Request& request, Console& console)
{
    const Profile pupil{request.files.value(0), request.files.value(1)};
    const Profile other{request.files.value(2), request.files.value(3)};
    SchoolConnection connection(request.databasePath, SchoolConnection::Access::Write);
    if (const QString problem = schoolDatabaseProblem(request.databasePath, connection);
        !problem.isEmpty()) {
        return console.fail(problem);
    }
    QSqlDatabase& db = connection.db();
    PupilEdit edit;
    QString done;
    switch (request.command) {
    case Command::Rename:
        edit = renamePupil(db, pupil, other);
        done = QStringLiteral("Žák %1 je teď %2, převedeno běhů: %3.")
                   .arg(pupilName(pupil), pupilName(other))
                   .arg(edit.runs);
        break;
    case Command::Merge:
        edit = mergePupils(db, pupil, other);
        done = QStringLiteral("Žák %1 je sloučen do žáka %2, převedeno běhů: %3.")
                   .arg(pupilName(pupil), pupilName(other))
                   .arg(edit.runs);
        break;
    default:
        edit = removePupil(db, pupil);
        done = QStringLiteral("Žák %1 je vyřazen ze seznamu; jeho běhy (%2) zůstávají v databázi.")
                   .arg(pupilName(pupil))
                   .arg(edit.runs);
        break;
    }
    if (!edit.ok()) {
        return console.fail(QStringLiteral("Nic se nezměnilo: %1.").arg(edit.error));
    }
    console.out << done << Qt::endl;
    return Console::ExitSuccess;
}

} // namespace voltmetr::teacher
