#include "throwawayserver.h"

#include "results/schooldatabase.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace voltmetr::testing {

namespace {

const QString binaries = QStringLiteral("/usr/lib/postgresql/15/bin/");
const QString superuser = QStringLiteral("voltmetr_spravce");

// The server refuses to run as root: a test run as root hands it to an unprivileged account.
QStringList unprivileged(const QString& program, const QStringList& arguments)
{
    if (geteuid() != 0) {
        return QStringList{program} << arguments;
    }
    return QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=nobody"),
                       QStringLiteral("--regid=nogroup"), QStringLiteral("--clear-groups"), program}
           << arguments;
}

// Runs a server program to its end; its output when it fails, else empty.
QString runProgram(const QString& program, const QStringList& arguments)
{
    QStringList command = unprivileged(binaries + program, arguments);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.takeFirst(), command);
    if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return QStringLiteral("%1 failed: %2%3")
            .arg(program, process.errorString(), QString::fromLocal8Bit(process.readAll()));
    }
    return {};
}

// Starts the server when the first test asks for a database, so that tests of the same binary
// that need none do not wait for it, and stops it after the last test.
class ServerEnvironment : public ::testing::Environment
{
public:
    ServerEnvironment() { s_instance = this; }

    // The folder of the running server's socket; starts the server the first time.
    static QString socketFolder()
    {
        if (!s_instance->m_running) {
            s_instance->start();
        }
        return s_instance->m_folder.path();
    }

    void TearDown() override
    {
        if (m_running) {
            EXPECT_EQ(runProgram(QStringLiteral("pg_ctl"),
                                 {QStringLiteral("--pgdata=%1").arg(data()),
                                  QStringLiteral("--mode=immediate"), QStringLiteral("--wait"),
                                  QStringLiteral("stop")}),
                      QString());
        }
    }

private:
    void start()
    {
        ASSERT_TRUE(m_folder.isValid());
        if (geteuid() == 0) {
            ASSERT_EQ(QProcess::execute(QStringLiteral("chown"),
                                        {QStringLiteral("nobody:nogroup"), m_folder.path()}),
                      0);
        }
        // A Czech school's server: Czech sorting and Czech messages where it has them.
        ASSERT_EQ(runProgram(QStringLiteral("initdb"),
                             {QStringLiteral("--pgdata=%1").arg(data()),
                              QStringLiteral("--username=%1").arg(superuser),
                              QStringLiteral("--auth=trust"), QStringLiteral("--encoding=UTF8"),
                              QStringLiteral("--locale=cs_CZ.UTF-8"), QStringLiteral("--no-sync")}),
                  QString());
        ASSERT_EQ(runProgram(QStringLiteral("pg_ctl"),
                             {QStringLiteral("--pgdata=%1").arg(data()), QStringLiteral("--wait"),
                              QStringLiteral("--log=%1/server.log").arg(m_folder.path()),
                              QStringLiteral("--options=-c listen_addresses='' -k %1 -c fsync=off")
                                  .arg(m_folder.path()),
                              QStringLiteral("start")}),
                  QString());
        m_running = true;
    }

    QString data() const { return m_folder.filePath(QStringLiteral("data")); }

    QTemporaryDir m_folder{QDir::tempPath() + QStringLiteral("/voltmetr-pg-XXXXXX")};
    bool m_running = false;
    static ServerEnvironment* s_instance;
};

ServerEnvironment* ServerEnvironment::s_instance = nullptr;

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

QString location(const QString& database, const QString& user)
{
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("host"), ServerEnvironment::socketFolder());
    query.addQueryItem(QStringLiteral("user"), user);
    return QStringLiteral("postgresql:///%1?%2").arg(database, query.toString(QUrl::FullyEncoded));
}

} // namespace

QString ThrowawayServer::newDatabase()
{
    static int count = 0;
    const QString name = QStringLiteral("skola_%1").arg(++count);
    {
        QSqlDatabase admin =
            QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("voltmetr-spravce"));
        admin.setConnectOptions(QStringLiteral("host=%1;user=%2;dbname=postgres")
                                    .arg(ServerEnvironment::socketFolder(), superuser));
        EXPECT_TRUE(admin.open()) << admin.lastError().text().toStdString();
        QSqlQuery query(admin);
        EXPECT_TRUE(query.exec(QStringLiteral("CREATE DATABASE %1").arg(name)))
            << query.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("voltmetr-spravce"));
    return location(name, superuser);
}

QString ThrowawayServer::newSchool()
{
    const QString school = newDatabase();
    SchoolConnection connection(school, SchoolConnection::Access::Write);
    EXPECT_EQ(connection.openError() + createSchoolSchema(connection.db()), QString());
    return school;
}

QString ThrowawayServer::locationAs(const QString& serverLocation, const QString& user)
{
    return location(QUrl(serverLocation).path().mid(1), user);
}

void ThrowawayServer::storeRunAsPupil(const QString& location, const ResultRow& row)
{
    // The pupils' program's own store, signed in as the pupils' role.
    const RunStored stored =
        ResultsStore(locationAs(location, QString::fromLatin1(PupilsRole))).appendRun(row);
    ASSERT_TRUE(stored.stored) << stored.error.toStdString();
}

} // namespace voltmetr::testing
