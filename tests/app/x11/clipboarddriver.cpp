// Puts its argument on the clipboard through the program's host and ends the way the program
// ends, from inside a modal window as the report window's "Konec" does.
#include "ui/qthost.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    voltmetr::QtHost host;
    QDialog report;
    QTimer::singleShot(0, &report, [&] {
        QTimer::singleShot(0, &report, [&] {
            host.setClipboardText(QString::fromLocal8Bit(argc == 2 ? argv[1] : ""));
            host.endProgram();
        });
        host.showModal(report);
    });
    return QApplication::exec();
}
