// One pupil's computer finishing a hundred runs as fast as it can: storewriter <database> <w>
// stores row i as "Zapisovatel w" with i right answers, and prints "Zapisovatel w|i|reason"
// for each row the store refused, as the pupil would be told.
#include "results/resultsstore.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const voltmetr::ResultsStore store(app.arguments().value(1));
    voltmetr::ResultRow row;
    row.surname = QStringLiteral("Zapisovatel ") + app.arguments().value(2);
    QTextStream refused(stdout);
    for (; row.rightCount < 100; ++row.rightCount) {
        if (const voltmetr::RunStored run = store.appendRun(row); !run.stored) {
            refused << row.surname << u'|' << row.rightCount << u'|' << run.error << Qt::endl;
        }
    }
    return 0;
}
