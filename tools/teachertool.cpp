#include "teachertool.h"

namespace voltmetr::teacher {

int runTeacherTool(const QStringList& arguments, Console& console)
{
    const Request request = parseRequest(arguments);
    if (request.help) {
        console.out << (request.commandHelp ? commandHelpText(request.command) : helpText());
        return Console::ExitSuccess;
    }
    if (!request.error.isEmpty()) {
        console.err << request.error << Qt::endl;
        return Console::ExitUsage;
    }
    switch (request.command) {
    case Command::Create:
        return createDatabase(request, console);
    case Command::Import:
        return importClassList(request, console);
    case Command::Decode:
        return decodeReports(request, console);
    case Command::Export:
        return exportResults(request, console);
    case Command::Totals:
        return printTotals(request, console);
    case Command::Upgrade:
        return upgradeDatabase(request, console);
    case Command::Statistics:
        return printStatistics(request, console);
    case Command::Overview:
        return writeClassOverview(request, console);
    case Command::Check:
        return checkLab(request, console);
    case Command::Rename:
    case Command::Merge:
    case Command::Remove:
        return changePupils(request, console);
    case Command::Window:
        return console.fail(QStringLiteral("Okno učitele otevírá jen program voltmetr-ucitel."));
    }
    Q_UNREACHABLE();
    return Console::ExitFailure;
}

} // namespace voltmetr::teacher
