// One pupil's computer finishing a hundred runs as fast as it can: storewriter <database> <w>
// stores row i as "Zapisovatel w" with i right answers, and exits non-zero at the first loss.
#include "results/resultsstore.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const voltmetr::ResultsStore store(arguments.value(1));
    for (int i = 0; i < 100; ++i) {
        voltmetr::ResultRow row;
        row.surname = QStringLiteral("Zapisovatel ") + arguments.value(2);
        row.rightCount = i;
        const voltmetr::RunStored stored = store.appendRun(row);
        if (!stored.totals) {
            std::fprintf(stderr, "row %d: %s\n", i, qPrintable(stored.error));
            return 1;
        }
    }
    return 0;
}
