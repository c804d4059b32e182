#include "exercise/exercise.h"
#include "ui/qthost.h"

#include <QApplication>
#include <QTextStream>

// The answers of a pupil's run begun at this moment, for the keyboard run of the Windows build
// under Wine (scripts/test-windows.sh): both programs start under one stopped clock, so that
// the pupils' program draws its tasks from the same seed as this one, through the same host and
// exercise. Prints the first task's voltage, the right answer, and an answer twice the second
// task's voltage, a wrong one.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    voltmetr::QtHost host;
    voltmetr::Data_a_promene state;
    voltmetr::Exercise exercise(host, state);
    exercise.Form_Load();
    const float first = state.TaskVoltage;
    exercise.NewTask();
    QTextStream(stdout) << QString::number(double(first), 'g', 6) << '\n'
                        << QString::number(2.0 * double(state.TaskVoltage), 'g', 6) << '\n';
    return 0;
}
