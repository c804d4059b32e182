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

using namespace Qt::StringLiterals;

const QString binaries = u"/usr/lib/postgresql/15/bin/"_s;
const QString superuser = u"voltmetr_spravce"_s;

// Runs a server program to its end; its output when it fails, else empty. The server refuses
// to run as root: a test run as root hands it to an unprivileged account.
QString runProgram(const QString& program, const QStringList& arguments)
{
    QStringList command = QStringList{binaries + program} << arguments;
    if (geteuid() == 0) {
        command = QStringList{u"setpriv"_s, u"--reuid=nobody"_s, u"--regid=nogroup"_s,
                              u"--clear-groups"_s}
                  << command;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.takeFirst(), command);
    if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return u"%1 failed: %2%3"_s.arg(program, process.errorString(),
                                        QString::fromLocal8Bit(process.readAll()));
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
            EXPECT_EQ(runProgram(u"pg_ctl"_s, {u"--pgdata=%1"_s.arg(data()), u"--mode=immediate"_s,
                                               u"--wait"_s, u"stop"_s}),
                      QString());
        }
    }

private:
    void start()
    {
        ASSERT_TRUE(m_folder.isValid());
        if (geteuid() == 0) {
            ASSERT_EQ(QProcess::execute(u"chown"_s, {u"nobody:nogroup"_s, m_folder.path()}), 0);
        }
        // A Czech school's server: Czech sorting and Czech messages where it has them.
        ASSERT_EQ(runProgram(u"initdb"_s,
                             {u"--pgdata=%1"_s.arg(data()), u"--username=%1"_s.arg(superuser),
                              u"--auth=trust"_s, u"--encoding=UTF8"_s, u"--locale=cs_CZ.UTF-8"_s,
                              u"--no-sync"_s}),
                  QString());
        ASSERT_EQ(
            runProgram(u"pg_ctl"_s, {u"--pgdata=%1"_s.arg(data()), u"--wait"_s,
                                     u"--log=%1/server.log"_s.arg(m_folder.path()),
                                     u"--options=-c listen_addresses='' -k %1 -c fsync=off"_s.arg(
                                         m_folder.path()),
                                     u"start"_s}),
            QString());
        m_running = true;
    }

    QString data() const { return m_folder.filePath(u"data"_s); }

    QTemporaryDir m_folder{QDir::tempPath() + u"/voltmetr-pg-XXXXXX"_s};
    bool m_running = false;
    static ServerEnvironment* s_instance;
};

ServerEnvironment* ServerEnvironment::s_instance = nullptr;

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

QString location(const QString& database, const QString& user)
{
    QUrlQuery query;
    query.addQueryItem(u"host"_s, ServerEnvironment::socketFolder());
    query.addQueryItem(u"user"_s, user);
    return u"postgresql:///%1?%2"_s.arg(database, query.toString(QUrl::FullyEncoded));
}

} // namespace

QString ThrowawayServer::newDatabase()
{
    static int count = 0;
    const QString name = u"skola_%1"_s.arg(++count);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(u"QPSQL"_s, u"voltmetr-spravce"_s);
        admin.setConnectOptions(
            u"host=%1;user=%2;dbname=postgres"_s.arg(ServerEnvironment::socketFolder(), superuser));
        EXPECT_TRUE(admin.open()) << admin.lastError().text().toStdString();
        QSqlQuery query(admin);
        EXPECT_TRUE(query.exec(u"CREATE DATABASE %1"_s.arg(name)))
            << query.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(u"voltmetr-spravce"_s);
    return location(name, superuser);
}

QString ThrowawayServer::newSchool()
{
    const QString school = newDatabase();
    SchoolConnection connection(school, SchoolConnection::Access::Write);
    EXPECT_EQ(connection.openError() + createSchoolSchema(connection.db()), QString());
    return school;
}

QString ThrowawayServer::asPupils(const QString& serverLocation)
{
    return location(QUrl(serverLocation).path().mid(1), QString::fromLatin1(PupilsRole));
}

} // namespace voltmetr::testing
