#include "schoolfile.h"

#include "results/schooldatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace voltmetr::testing {

namespace {
int fileCount = 0;
}

SchoolFile::SchoolFile(Content content)
    : m_path(m_dir.filePath(QStringLiteral("skola.sqlite"))),
      m_connection(QStringLiteral("test-school-file-%1").arg(++fileCount))
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    database.setDatabaseName(m_path);
    EXPECT_TRUE(database.open()) << database.lastError().text().toStdString();
    if (content == Content::Schema) {
        EXPECT_EQ(createSchoolSchema(database), QString());
    } else {
        exec(QStringLiteral("CREATE TABLE \"placeholder\" (x)"));
    }
}

SchoolFile::~SchoolFile()
{
    db().close();
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase SchoolFile::db() const
{
    return QSqlDatabase::database(m_connection, false);
}

void SchoolFile::addPupil(const QVariant& surname, const QVariant& className)
{
    QSqlQuery query(db());
    query.prepare(QStringLiteral("INSERT INTO \"Zaci\" (\"Prijmeni\", \"Trida\") VALUES (?, ?)"));
    query.addBindValue(surname);
    query.addBindValue(className);
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
}

void SchoolFile::addResult(const QVariant& surname, const QVariant& right, const QVariant& wrong)
{
    QSqlQuery query(db());
    query.prepare(QStringLiteral(
        "INSERT INTO \"Prehled \" (\"Prijmeni\", \"Spravne\", \"Chybne\") VALUES (?, ?, ?)"));
    query.addBindValue(surname);
    query.addBindValue(right);
    query.addBindValue(wrong);
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
}

void SchoolFile::exec(const QString& statement)
{
    QSqlQuery query(db());
    EXPECT_TRUE(query.exec(statement)) << query.lastError().text().toStdString();
}

std::vector<QVariantList> SchoolFile::resultRows()
{
    std::vector<QVariantList> rows;
    QSqlQuery query(db());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM \"Prehled \" ORDER BY rowid")))
        << query.lastError().text().toStdString();
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i) {
            row.push_back(query.value(i));
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace voltmetr::testing
