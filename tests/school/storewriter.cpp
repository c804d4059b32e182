// A pupil's computer as a separate process.
//
// storewriter <database> <w>: finishes a hundred runs as fast as it can, storing row i as
// "Zapisovatel w" with i right answers, and prints "Zapisovatel w|i|reason" for each row the
// store refused, as the pupil would be told.
//
// storewriter <database> --uprostred: starts a save, writes enough rows that changed pages reach
// the file itself, prints "zapisuji" and waits, inside the transaction, to be killed.
#include "school/resultsstore.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>

namespace {

int stallInsideSave(const QString& path)
{
    voltmetr::SchoolConnection connection(path, voltmetr::SchoolConnection::Access::Write);
    QSqlQuery query(connection.db());
    // A cache of a few pages spills the changes into the file before the commit.
    if (!connection.openError().isEmpty() || !query.exec(QStringLiteral("PRAGMA cache_size = 2")) ||
        !voltmetr::beginWriting(connection.db()).isEmpty() ||
        !query.exec(QStringLiteral("INSERT INTO \"Prehled \" (Prijmeni) "
                                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                   "FROM n WHERE i < 2000) SELECT printf('%0300d', i) FROM n"))) {
        return 1;
    }
    QTextStream(stdout) << "zapisuji" << Qt::endl;
    for (;;) {
        QThread::sleep(60);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().value(2) == QStringLiteral("--uprostred")) {
        return stallInsideSave(app.arguments().value(1));
    }
    const voltmetr::ResultsStore store(app.arguments().value(1));
    voltmetr::ResultRow row;
    row.surname = QStringLiteral("Zapisovatel ") + app.arguments().value(2);
    QTextStream refused(stdout);
    for (; row.rightCount < 100; ++row.rightCount) {
        if (const voltmetr::RunStored run = store.appendRun(row); !run.stored()) {
            refused << row.surname << u'|' << row.rightCount << u'|' << run.error << Qt::endl;
        }
    }
    return 0;
}
