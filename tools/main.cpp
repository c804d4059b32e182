#include "app/programlog.h"
#include "app/version.h"
#include "commandline.h"
#include "teachertool.h"
#include "teacherwindow.h"
#include "ui/application.h"

#include <QApplication>
#include <QFile>
#include <QLoggingCategory>
#include <memory>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const voltmetr::teacher::Request request = voltmetr::teacher::parseRequest(arguments);
    // Only the window needs a display; every command works on a console without one.
    const bool window = request.command == voltmetr::teacher::Command::Window &&
                        request.error.isEmpty() && !request.help && !request.version;
    std::unique_ptr<QCoreApplication> app = window ? std::make_unique<QApplication>(argc, argv)
                                                   : std::make_unique<QCoreApplication>(argc, argv);
    // The teacher reads the Czech reasons on the console; the engine's and the system's own
    // words are for whoever looks after the school's computers. They go to the journal
    // (`journalctl -t voltmetr-ucitel`); without one they would only crowd the teacher's
    // console, which shows them when asked with QT_LOGGING_RULES="voltmetr.*=true".
    if (voltmetr::installProgramLog(QStringLiteral("voltmetr-ucitel"), false) !=
        voltmetr::ProgramLog::Sink::Journal) {
        QLoggingCategory::setFilterRules(QStringLiteral("voltmetr.*=false"));
    }
    if (window) {
        // The pupils' fonts, so that a replayed task's meter face is drawn as the pupil saw it,
        // and Qt's own dialogs and buttons in Czech.
        voltmetr::prepareApplication(static_cast<QApplication&>(*app));
        voltmetr::teacher::TeacherWindow teacherWindow(request.databasePath);
        teacherWindow.show();
        return QApplication::exec();
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        return voltmetr::teacher::Console::ExitFailure;
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    voltmetr::teacher::Console console{in, out, err};
    if (request.version) {
        out << voltmetr::versionLine(QStringLiteral("voltmetr-ucitel")) << Qt::endl;
        return voltmetr::teacher::Console::ExitSuccess;
    }
    return voltmetr::teacher::runTeacherTool(arguments, console);
}
