#include "teachertool.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The teacher reads the Czech reasons on the console. The engine's and the system's own
    // words are logged for whoever looks after the school's computers, who asks for them with
    // QT_LOGGING_RULES="voltmetr.*=true".
    QLoggingCategory::setFilterRules(QStringLiteral("voltmetr.*=false"));
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        return voltmetr::teacher::Console::ExitFailure;
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    voltmetr::teacher::Console console{in, out, err};
    return voltmetr::teacher::runTeacherTool(QCoreApplication::arguments().mid(1), console);
}
