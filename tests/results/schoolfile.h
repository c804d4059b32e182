#pragma once

#include "results/schooldatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <vector>

namespace voltmetr::testing {

// A school database file in a temporary folder, with a connection of the test's own to set
// rows up, break the file and read the stored rows back.
class SchoolFile
{
public:
    SchoolFile() : m_path(m_dir.filePath(QStringLiteral("skola.sqlite")))
    {
        static int files = 0;
        m_connection = QStringLiteral("test-school-file-%1").arg(++files);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(m_path);
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
        EXPECT_EQ(createSchoolSchema(db), QString());
    }
    ~SchoolFile()
    {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    SchoolFile(const SchoolFile&) = delete;
    SchoolFile& operator=(const SchoolFile&) = delete;

    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    void addPupil(const QVariant& surname, const QVariant& className)
    {
        exec(QStringLiteral("INSERT INTO \"Zaci\" (\"Prijmeni\", \"Trida\") VALUES (?, ?)"),
             {surname, className});
    }
    // The fields a test leaves out stay NULL.
    void addResult(const QVariant& surname, const QVariant& right, const QVariant& wrong)
    {
        exec(QStringLiteral("INSERT INTO \"Prehled \" (\"Prijmeni\", \"Spravne\", \"Chybne\") "
                            "VALUES (?, ?, ?)"),
             {surname, right, wrong});
    }
    void exec(const QString& statement, const QVariantList& values = {})
    {
        QSqlQuery query(QSqlDatabase::database(m_connection, false));
        query.prepare(statement);
        for (const QVariant& value : values) {
            query.addBindValue(value);
        }
        EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
    }

    // Every field of every "Prehled " row, in table order.
    std::vector<QVariantList> resultRows() const
    {
        QSqlQuery query(QSqlDatabase::database(m_connection, false));
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM \"Prehled \" ORDER BY rowid")));
        std::vector<QVariantList> rows;
        while (query.next()) {
            QVariantList& row = rows.emplace_back();
            for (int i = 0; i < query.record().count(); ++i) {
                row.push_back(query.value(i));
            }
        }
        return rows;
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_connection;
};

} // namespace voltmetr::testing
