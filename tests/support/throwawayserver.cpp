#include "throwawayserver.h"

#include "school/schooldatabase.h"
#include "school/schoolschema.h"
#include "school/serverrights.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace voltmetr::testing {

namespace {

using namespace Qt::StringLiterals;

const QString superuser = u"voltmetr_spravce"_s;

// The folder of the socket of the server the test run shares: ctest starts it before the first
// test that needs it and stops it after the last. A test program run by hand needs
// VOLTMETR_TEST_SERVER set to the folder of a server that scripts/throwaway-pgserver.sh started.
QString socketFolder()
{
    static const QString folder = qEnvironmentVariable("VOLTMETR_TEST_SERVER");
    EXPECT_FALSE(folder.isEmpty()) << "VOLTMETR_TEST_SERVER names no server's folder";
    return folder;
}

QString location(const QString& database, const QString& user)
{
    QUrlQuery query;
    query.addQueryItem(u"host"_s, socketFolder());
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
            u"host=%1;user=%2;dbname=postgres"_s.arg(socketFolder(), superuser));
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
    const QString database = QUrl(serverLocation).path().mid(1);
    return location(database, schoolRolesOf(database).pupils);
}

} // namespace voltmetr::testing
