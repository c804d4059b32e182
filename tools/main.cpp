#include "app/programlog.h"
#include "app/version.h"
#include "commandline.h"
#include "teachertool.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The teacher reads the Czech reasons on the console; the engine's and the system's own
    // words are for whoever looks after the school's computers. They go to the journal
    // (`journalctl -t voltmetr-ucitel`); without one they would only crowd the teacher's
    // console, which shows them when asked with QT_LOGGING_RULES="voltmetr.*=true".
    if (voltmetr::installProgramLog(QStringLiteral("voltmetr-ucitel"), false) !=
        voltmetr::ProgramLog::Sink::Journal) {
        QLoggingCategory::setFilterRules(QStringLiteral("voltmetr.*=false"));
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        return voltmetr::teacher::Console::ExitFailure;
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    voltmetr::teacher::Console console{in, out, err};
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (voltmetr::teacher::parseRequest(arguments).version) {
        out << voltmetr::versionLine(QStringLiteral("voltmetr-ucitel")) << Qt::endl;
        return voltmetr::teacher::Console::ExitSuccess;
    }
    return voltmetr::teacher::runTeacherTool(arguments, console);
}
