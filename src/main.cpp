#include "app/programlog.h"
#include "app/version.h"
#include "programflow.h"
#include "signin/welcome.h"
#include "ui/application.h"
#include "ui/qthost.h"

#include <QApplication>
#include <cstdio>
#include <string_view>

int main(int argc, char* argv[])
{
    // Answered before any window exists: an administrator asks on a console without a display.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::puts(qPrintable(voltmetr::versionLine(QStringLiteral("voltmetr"))));
        return 0;
    }
    // The log is for whoever looks after the lab: the journal, or standard error with a time;
    // started from a terminal, the program writes its lines there too.
    voltmetr::installProgramLog(QStringLiteral("voltmetr"), true);
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(voltmetr::desktopEntryName());
    voltmetr::prepareApplication(app);
    voltmetr::QtHost host;
    voltmetr::Data_a_promene state;
    voltmetr::Info2 coder(host);
    voltmetr::WindowContext context{host, state, coder};
    // The flow goes before the state and the host, and the exercise it opened with it.
    voltmetr::ProgramFlow flow(context);
    voltmetr::Welcome welcome(context);
    welcome.show();
    return QApplication::exec();
}
