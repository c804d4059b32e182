// One pupil's computer finishing a hundred runs as fast as it can: storewriter <database> <w>
// stores row i as "Zapisovatel w" with i right answers, and fails at the first row lost.
#include "results/resultsstore.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const voltmetr::ResultsStore store(app.arguments().value(1));
    voltmetr::ResultRow row;
    row.surname = QStringLiteral("Zapisovatel ") + app.arguments().value(2);
    for (; row.rightCount < 100; ++row.rightCount) {
        if (!store.appendRun(row).totals) {
            return 1;
        }
    }
    return 0;
}
