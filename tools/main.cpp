#include "teachertool.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        return voltmetr::teacher::Console::ExitFailure;
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    voltmetr::teacher::Console console{in, out, err};
    return voltmetr::teacher::runTeacherTool(QCoreApplication::arguments().mid(1), console);
}
