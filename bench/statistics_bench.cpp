// A big school's year: 200 classes of 30 pupils practising for 30 days, some 53,000 runs and
// 920,000 logged tasks, made by voltmetr-sample-class. Times the statistics of the whole school and
// of one class against one SQL aggregate over the same tasks (each pupil's tasks, seconds and
// destroyed meters, the task log joined to the runs), the best of several rounds each, on the
// wall clock and in processor time, and prints the ratios (the goal is at most 1.5) and the peak
// memory (the goal is under 150 MB).
//
// statistics_bench            a file in the temporary folder, made once and reused afterwards
// statistics_bench --server   a throwaway PostgreSQL server (scripts/throwaway-pgserver.sh),
//                             started, filled and stopped by the benchmark
// statistics_bench LOCATION   a school database that holds such a year already
#include "emptydatabase.h"
#include "school/runstore.h"
#include "taskstatistics.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace voltmetr;

constexpr int Rounds = 3;
const QString OneClass = QStringLiteral("2.B");

// The processor seconds spent by this process and, on a server, by the server process that
// serves the connection: on a busy machine the wall clock measures the other processes too.
double processorSeconds(qint64 serverProcess)
{
    timespec own{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &own);
    double seconds = static_cast<double>(own.tv_sec) + static_cast<double>(own.tv_nsec) / 1e9;
    if (serverProcess > 0) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(serverProcess));
        if (stat.open(QIODevice::ReadOnly)) {
            // After the name in brackets: state is field 3, utime and stime fields 14 and 15.
            const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
            seconds +=
                static_cast<double>(fields.value(11).toLongLong() + fields.value(12).toLongLong()) /
                static_cast<double>(sysconf(_SC_CLK_TCK));
        }
    }
    return seconds;
}

struct Cost
{
    double wall = 1e9;
    double processor = 1e9;
};

// Each round's cost kept when it is the lowest so far; what goes wrong ends the benchmark.
void measureRound(Cost& best, qint64 serverProcess, const std::function<QString()>& round)
{
    QElapsedTimer timer;
    timer.start();
    const double processorBefore = processorSeconds(serverProcess);
    if (const QString failure = round(); !failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        std::exit(1);
    }
    best.processor = std::min(best.processor, processorSeconds(serverProcess) - processorBefore);
    best.wall = std::min(best.wall, static_cast<double>(timer.nsecsElapsed()) / 1e9);
}

void printRatio(const QString& what, const Cost& statistics, const Cost& aggregate)
{
    std::printf("%s: statistika %.3f s (procesor %.3f s), agregát %.3f s (procesor %.3f s), "
                "poměr %.2f (procesor %.2f)\n",
                qPrintable(what), statistics.wall, statistics.processor, aggregate.wall,
                aggregate.processor, statistics.wall / aggregate.wall,
                statistics.processor / aggregate.processor);
}

// The one aggregate: per pupil the tasks, their seconds and the destroyed meters, of one class or
// of all; every row fetched, as a program would.
QString aggregate(QSqlDatabase& db, const QString& pupilClass)
{
    QVariantList values;
    const QString runs = quotedName(ResultsTable);
    const QString statement =
        QStringLiteral(
            "SELECT %1.\"Prijmeni\", %1.\"Trida\", COUNT(*), SUM(%2.\"Sekund\"), "
            "SUM(%2.\"Znicen\") FROM %2 JOIN %1 ON %1.rowid = %2.\"Beh\"%3 GROUP BY 1, 2")
            .arg(runs, quotedName(TaskLogTable), runsWhere(pupilClass, {}, values));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (QString failure = runBound(query, statement, values); !failure.isEmpty()) {
        return failure;
    }
    qint64 tasks = 0;
    while (query.next()) {
        tasks += query.value(2).toLongLong();
    }
    return tasks > 0 ? QString() : QStringLiteral("Agregát nenašel žádnou úlohu.");
}

QString statistics(QSqlDatabase& db, const QString& pupilClass)
{
    QString failure;
    const std::optional<teacher::ClassStatistics> read =
        teacher::readStatistics(db, {pupilClass, {}, false}, failure);
    return read && read->all.tasks > 0 ? QString() : QStringLiteral("Statistika: ") + failure;
}

// Fills the empty school database at location with the school year. Empty on success.
QString makeSchoolYear(const QString& location)
{
    if (QString failure = bench::emptySchoolDatabase(location); !failure.isEmpty()) {
        return failure;
    }
    QProcess sample;
    sample.setProcessChannelMode(QProcess::ForwardedChannels);
    sample.start(QStringLiteral(VOLTMETR_SAMPLE_CLASS),
                 {QStringLiteral("--tridy"), QStringLiteral("200"), location});
    if (!sample.waitForFinished(-1) || sample.exitCode() != 0) {
        return QStringLiteral("voltmetr-sample-class selhal.");
    }
    // As aktualizuj upgrades a server's database that holds a year already: the server works out
    // the causes of all its tasks at once. (Written task by task, as the sample tool writes, each
    // statement would set up the causes' expression anew: some 3 ms a task.)
    if (isServerLocation(location)) {
        SchoolConnection connection(location, SchoolConnection::Access::Write);
        QStringList changes;
        if (QString failure = connection.openError().isEmpty()
                                  ? teacher::bringLikeliestCausesUpToDate(connection.db(), changes)
                                  : connection.openError();
            !failure.isEmpty()) {
            return failure;
        }
    }
    return {};
}

// The throwaway server's start or stop; the location of its database on start. It runs without
// flushing to disk: the benchmark only reads, and the year's 53,000 runs, each a transaction of its
// own, would take the server's disk ten minutes to write.
QString pgServer(const char* action, const QString& folder)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{QLatin1String(action), folder};
    if (qstrcmp(action, "start") == 0) {
        arguments << QStringLiteral("--no-fsync");
    }
    script.start(QStringLiteral(VOLTMETR_PGSERVER_SCRIPT), arguments);
    script.waitForFinished(-1);
    return QString::fromUtf8(script.readAllStandardOutput()).trimmed();
}

int measure(const QString& location)
{
    SchoolConnection connection(location, SchoolConnection::Access::Read);
    if (!connection.openError().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(connection.openError()));
        return 1;
    }
    QSqlDatabase& db = connection.db();
    qint64 serverProcess = 0;
    if (QSqlQuery backend(db); isServerLocation(location) &&
                               backend.exec(QStringLiteral("SELECT pg_backend_pid()")) &&
                               backend.next()) {
        serverProcess = backend.value(0).toLongLong();
    }
    // The rounds take turns, so that a busy moment of the machine burdens both alike.
    Cost schoolAggregate, school, classAggregate, oneClass;
    for (int i = 0; i < Rounds; ++i) {
        measureRound(schoolAggregate, serverProcess, [&] { return aggregate(db, {}); });
        measureRound(school, serverProcess, [&] { return statistics(db, {}); });
        measureRound(classAggregate, serverProcess, [&] { return aggregate(db, OneClass); });
        measureRound(oneClass, serverProcess, [&] { return statistics(db, OneClass); });
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    printRatio(QStringLiteral("celá škola"), school, schoolAggregate);
    printRatio(QStringLiteral("třída ") + OneClass, oneClass, classAggregate);
    std::printf("cíl: poměr celé školy nejvýš 1,5; nejvyšší paměť %.1f MB (cíl pod 150 MB)\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString given = app.arguments().value(1);
    if (!given.isEmpty() && given != QStringLiteral("--server")) {
        return measure(given);
    }
    const bool server = !given.isEmpty();
    const QString folder = QDir::temp().filePath(QStringLiteral("voltmetr-statistics-bench"));
    if (server) {
        const QString serverFolder = folder + QStringLiteral("-server");
        const QString location = pgServer("start", serverFolder);
        const QString failure = makeSchoolYear(location);
        const int result = failure.isEmpty() ? measure(location) : 1;
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(failure));
        }
        pgServer("stop", serverFolder);
        return result;
    }
    QDir().mkpath(folder);
    const QString location = QDir(folder).filePath(QStringLiteral("skola.sqlite"));
    // Made under another name first, so that a benchmark stopped halfway leaves no half year.
    const QString making = location + QStringLiteral(".vyrabi");
    if (!QFile::exists(location)) {
        if (const QString failure = makeSchoolYear(making);
            !failure.isEmpty() || !QFile::rename(making, location)) {
            std::fprintf(stderr, "%s\n", qPrintable(failure));
            return 1;
        }
    }
    return measure(location);
}
