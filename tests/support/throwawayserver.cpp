#include "throwawayserver.h"

#include "school/schooldatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace voltmetr::testing {

namespace {

using namespace Qt::StringLiterals;

const QString superuser = u"voltmetr_spravce"_s;

// Runs the script that starts and stops throwaway servers; its output when it fails, else empty.
QString runServerScript(const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromUtf8(VOLTMETR_THROWAWAY_SERVER_SCRIPT), arguments);
    const bool ok = process.waitForFinished(60'000) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return ok ? QString()
              : u"%1 failed: %2%3"_s.arg(arguments.join(u' '), process.errorString(),
                                         QString::fromLocal8Bit(process.readAll()));
}

// The server the test run shares, started by ctest before the first test that needs it and
// stopped after the last (VOLTMETR_TEST_SERVER names its socket's folder). A test binary run by
// hand starts one of its own when the first test asks for a database, so that tests that need
// none do not wait for it, and stops it after the last test.
class ServerEnvironment : public ::testing::Environment
{
public:
    ServerEnvironment() { s_instance = this; }

    // The folder of the server's socket.
    static QString socketFolder()
    {
        static const QString shared = qEnvironmentVariable("VOLTMETR_TEST_SERVER");
        ServerEnvironment& own = *s_instance;
        if (shared.isEmpty() && !own.m_running) {
            EXPECT_EQ(runServerScript({u"start"_s, own.m_folder.path(), u"--no-fsync"_s}),
                      QString());
            own.m_running = true;
        }
        return shared.isEmpty() ? own.m_folder.path() : shared;
    }

    void TearDown() override
    {
        if (m_running) {
            EXPECT_EQ(runServerScript({u"stop"_s, m_folder.path()}), QString());
        }
    }

private:
    QTemporaryDir m_folder{QDir::tempPath() + u"/voltmetr-pg-XXXXXX"_s};
    bool m_running = false;
    static inline ServerEnvironment* s_instance = nullptr;
};

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
    // Many test processes share the server: each names its databases after itself.
    static int count = 0;
    const QString name = u"skola_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(++count);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(u"QPSQL"_s, u"voltmetr-spravce"_s);
        admin.setConnectOptions(
            u"host=%1;user=%2;dbname=postgres"_s.arg(ServerEnvironment::socketFolder(), superuser));
        QSqlQuery query(admin);
        EXPECT_TRUE(admin.open() && query.exec(u"CREATE DATABASE %1"_s.arg(name)))
            << admin.lastError().text().toStdString() << query.lastError().text().toStdString();
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
