#pragma once

#include "commandline.h"

#include <QIODevice>
#include <QTextStream>

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

} // namespace voltmetr::teacher
