// A whole class finishing at once: many processes, each a pupil's computer, store their runs in
// one school database, an SQLite file or a PostgreSQL server, as fast as they can. Prints the saves
// lost, stored twice and handed out as reports instead (the goal for each is 0), the time one save
// took (median, 99th percentile, longest; the goal is at most 2 s) and the saves per second of the
// whole class.
//
// store_load_bench [writers [saves] [where]]    defaults: 32 writers, 200 saves each, a file in
//                                               a temporary folder. where is a folder for the
//                                               file (give a network share here) or a server's
//                                               location, whose school tables are made anew
//                                               (scripts/throwaway-pgserver.sh starts a
//                                               throwaway server, and
//                                               scripts/throwaway-pgbouncer.sh the district's
//                                               pooler in front of it)
// store_load_bench --pisar <location> <w> <saves>  one writer; prints "i|ms|stored" per save
//
// The writers start together, as a class pressing "Konec" at one moment does: each one prepares,
// says so on its output, and waits for one line on its input that the bench sends to all of them
// once every writer is ready.
#include "emptydatabase.h"
#include "school/resultsstore.h"
#include "school/schooldatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

QString surnameOf(int writer)
{
    return QStringLiteral("Žák %1").arg(writer);
}

const QString ReadyLine = QStringLiteral("pripraven");

// A run as a pupil ends it: a meter's ten tasks, each answered.
std::vector<voltmetr::TaskRecord> tasksOfARun()
{
    std::vector<voltmetr::TaskRecord> tasks(10);
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        tasks[i] = {.order = static_cast<int>(i) + 1,
                    .divisions = 100,
                    .voltage = 4.2F,
                    .bestRange = 6,
                    .rangeInUse = 6,
                    .rangeChanges = 1,
                    .typed = QStringLiteral("4,2"),
                    .valueRead = 4.2,
                    .verdict = voltmetr::TaskVerdict::Right,
                    .seconds = 12.5};
    }
    return tasks;
}

int write(const QString& path, int writer, int saves, bool awaitStart)
{
    const voltmetr::ResultsStore store(path);
    voltmetr::ResultRow row;
    row.surname = surnameOf(writer);
    const std::vector<voltmetr::TaskRecord> tasks = tasksOfARun();
    QTextStream out(stdout);
    if (awaitStart) {
        out << ReadyLine << Qt::endl;
        QTextStream(stdin).readLine();
    }
    for (; row.rightCount < saves; ++row.rightCount) {
        QElapsedTimer timer;
        timer.start();
        const bool stored = store.appendRun(row, tasks).stored();
        out << row.rightCount << u'|' << static_cast<double>(timer.nsecsElapsed()) / 1e6 << u'|'
            << (stored ? 1 : 0) << u'\n';
    }
    return 0;
}

double percentile(const std::vector<double>& sorted, double share)
{
    return sorted[std::min(sorted.size() - 1,
                           static_cast<std::size_t>(share * static_cast<double>(sorted.size())))];
}

int measure(int writers, int saves, const QString& where)
{
    const QString path =
        voltmetr::isServerLocation(where) ? where : where + QStringLiteral("/skola.sqlite");
    if (const QString failure = voltmetr::bench::emptySchoolDatabase(path); !failure.isEmpty()) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", qPrintable(path), qPrintable(failure));
        return 1;
    }
    QElapsedTimer wall;
    wall.start();
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int w = 0; w < writers; ++w) {
        auto& process = processes.emplace_back(std::make_unique<QProcess>());
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--pisar"), path, QString::number(w),
                        QString::number(saves), QStringLiteral("--spolecny-start")});
    }
    for (auto& process : processes) {
        while (!process->canReadLine() && process->waitForReadyRead(-1)) {
        }
        process->readLine();
    }
    wall.restart();
    for (auto& process : processes) {
        process->write("\n");
        process->waitForBytesWritten(-1);
    }
    std::vector<double> ms;
    std::map<std::pair<int, int>, int> refused;
    for (int w = 0; w < writers; ++w) {
        processes[w]->waitForFinished(-1);
        for (const QString& line : QString::fromUtf8(processes[w]->readAllStandardOutput())
                                       .split(u'\n', Qt::SkipEmptyParts)) {
            ms.push_back(line.section(u'|', 1, 1).toDouble());
            if (line.section(u'|', 2) != QStringLiteral("1")) {
                ++refused[{w, line.section(u'|', 0, 0).toInt()}];
            }
        }
    }
    const double seconds = static_cast<double>(wall.elapsed()) / 1000;
    std::map<std::pair<int, int>, int> stored;
    {
        voltmetr::SchoolConnection connection(path, voltmetr::SchoolConnection::Access::Read);
        std::vector<voltmetr::StoredResult> rows;
        if (const QString failure = voltmetr::readStoredResults(connection.db(), rows);
            !failure.isEmpty()) {
            std::fprintf(stderr, "cannot read the stored rows: %s\n", qPrintable(failure));
            return 1;
        }
        for (const voltmetr::StoredResult& row : rows) {
            ++stored[{row.surname.section(u' ', 1).toInt(),
                      static_cast<int>(row.rightCount.value_or(0))}];
        }
    }
    int lost = 0;
    int doubled = 0;
    for (int w = 0; w < writers; ++w) {
        for (int i = 0; i < saves; ++i) {
            const int times = stored.count({w, i}) ? stored[{w, i}] : 0;
            lost += times == 0 && refused.count({w, i}) == 0;
            doubled += times > 1;
        }
    }
    std::sort(ms.begin(), ms.end());
    if (ms.size() != static_cast<std::size_t>(writers * saves)) {
        std::fprintf(stderr, "%zu of %d saves reported a time\n", ms.size(), writers * saves);
    }
    std::printf("%d writers x %d saves on %s: lost %d, stored twice %d, handed out as reports %zu\n"
                "one save: median %.1f ms, 99th percentile %.1f ms, longest %.1f ms\n"
                "%.1f s in all, %.0f saves per second\n",
                writers, saves, qPrintable(path), lost, doubled, refused.size(),
                percentile(ms, 0.5), percentile(ms, 0.99), ms.empty() ? 0.0 : ms.back(), seconds,
                writers * saves / seconds);
    return lost + doubled + static_cast<int>(refused.size()) == 0 ? 0 : 2;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QStringLiteral("--pisar")) {
        return write(args.value(2), args.value(3).toInt(), args.value(4).toInt(),
                     args.value(5) == QStringLiteral("--spolecny-start"));
    }
    QTemporaryDir temporary;
    return measure(args.size() > 1 ? args[1].toInt() : 32, args.size() > 2 ? args[2].toInt() : 200,
                   args.size() > 3 ? args[3] : temporary.path());
}
