// Appends rows to a school database as fast as it can, the way many pupils' computers finish
// at once: storewriter <database> <writer number> <rows>. Row i of writer w is stored under
// the surname "Zapisovatel w" with i right answers. Exits non-zero at the first row lost.
#include "results/resultsstore.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        std::fputs("usage: storewriter <database> <writer number> <rows>\n", stderr);
        return 2;
    }
    const voltmetr::ResultsStore store(arguments[1]);
    const int rows = arguments[3].toInt();
    for (int i = 0; i < rows; ++i) {
        voltmetr::ResultRow row;
        row.surname = QStringLiteral("Zapisovatel ") + arguments[2];
        row.rightCount = i;
        row.examType = 2;
        const voltmetr::RunStored stored = store.appendRun(row);
        if (!stored.stored || !stored.totals) {
            std::fprintf(stderr, "row %d: %s\n", i, qPrintable(stored.error));
            return 1;
        }
    }
    return 0;
}
