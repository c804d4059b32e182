// A pupil's computer as a separate process. "storewriter <database> <w>" stores a hundred runs
// at once, row i as "Zapisovatel w" with i right answers, and prints "Zapisovatel w|i|reason"
// for each row refused. "storewriter <database> --uprostred" starts a save whose changed pages
// reach the file itself, prints "zapisuji" and waits inside the transaction to be killed.
#include "school/resultsstore.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>

int main(int argc, char* argv[])
{
    using namespace voltmetr;
    QCoreApplication app(argc, argv);
    const QString path = app.arguments().value(1);
    QTextStream out(stdout);
    if (app.arguments().value(2) == QStringLiteral("--uprostred")) {
        SchoolConnection connection(path, SchoolConnection::Access::Write);
        QSqlQuery query(connection.db());
        // A cache of a few pages spills the changes into the file before the commit.
        if (!connection.openError().isEmpty() ||
            !query.exec(QStringLiteral("PRAGMA cache_size = 2")) ||
            !beginWriting(connection.db()).isEmpty() ||
            !query.exec(
                QStringLiteral("INSERT INTO \"Prehled \" (Prijmeni) "
                               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                               "FROM n WHERE i < 2000) SELECT printf('%0300d', i) FROM n"))) {
            return 1;
        }
        out << "zapisuji" << Qt::endl;
        QThread::sleep(600);
        return 1;
    }
    ResultRow row;
    row.surname = QStringLiteral("Zapisovatel ") + app.arguments().value(2);
    for (; row.rightCount < 100; ++row.rightCount) {
        if (const RunStored run = ResultsStore(path).appendRun(row); !run.stored()) {
            out << row.surname << u'|' << row.rightCount << u'|' << run.error << Qt::endl;
        }
    }
    return 0;
}
