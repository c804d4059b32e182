#pragma once

#include "commandline.h"
#include "school/profile.h"
#include "school/pupiledits.h"

#include <QIODevice>
#include <QTextStream>
#include <functional>

namespace voltmetr::teacher {

// Where a command reads piped text and writes its results and its one-line reasons.
struct Console
{
    QIODevice& in;
    QTextStream& out;
    QTextStream& err;

    // Prints reason and gives the exit code of a failed command.
    int fail(const QString& reason)
    {
        err << reason << Qt::endl;
        return ExitFailure;
    }

    static constexpr int ExitSuccess = 0;
    static constexpr int ExitFailure = 1;
    static constexpr int ExitUsage = 2;
};

int runTeacherTool(const QStringList& arguments, Console& console);

int createDatabase(const Request& request, Console& console);
int importClassList(const Request& request, Console& console);
int decodeReports(const Request& request, Console& console);
int exportResults(const Request& request, Console& console);
int printTotals(const Request& request, Console& console);
int upgradeDatabase(const Request& request, Console& console);
int printStatistics(const Request& request, Console& console);
int writeClassOverview(const Request& request, Console& console);
// The lab check: what the pupils' program meets on this computer, one line per finding.
int checkLab(const Request& request, Console& console);
// prejmenuj, sluc and odeber: a pupil's name, class or place on the list, with the runs.
int changePupils(const Request& request, Console& console);
// "Žák Novák (3A) je teď Novák (3.A), převedeno běhů: 2.", or "… je sloučen do žáka …".
QString pupilChanged(const Profile& from, const Profile& to, bool merged, qint64 runs);
// "Žák Novák (2.B) je vyřazen ze seznamu; jeho běhy (2) zůstávají v databázi."
QString pupilRemoved(const Profile& who, qint64 runs);
// A change of the pupils made on the school database at location, opened for writing and closed
// again, as the commands and the window make it; error holds the teacher's Czech reason,
// "Nic se nezměnilo: …" when the change was refused.
PupilEdit editPupilAt(const QString& location, const std::function<PupilEdit(QSqlDatabase&)>& edit);

} // namespace voltmetr::teacher
