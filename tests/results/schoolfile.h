#pragma once

#include "results/schooldatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace voltmetr::testing {

// A school database file in a temporary folder, with a connection of the test's own to set
// rows up, break the file and read the stored rows back.
class SchoolFile
{
public:
    explicit SchoolFile(const QString& name = QStringLiteral("skola.sqlite"))
        : m_path(m_dir.filePath(name))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path());
        EXPECT_TRUE(db.open() && createSchoolSchema(db).isEmpty());
    }
    ~SchoolFile()
    {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }

    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    QSqlDatabase database() const { return QSqlDatabase::database(m_connection, false); }

    void addPupil(const QVariant& surname, const QVariant& className)
    {
        exec(QStringLiteral("INSERT INTO Zaci (Prijmeni, Trida) VALUES (?, ?)"),
             {surname, className});
    }
    // The fields left out stay NULL.
    void addResult(const QVariant& surname, const QVariant& right, const QVariant& wrong)
    {
        exec(
            QStringLiteral("INSERT INTO \"Prehled \" (Prijmeni, Spravne, Chybne) VALUES (?, ?, ?)"),
            {surname, right, wrong});
    }
    std::vector<QVariantList> resultRows()
    {
        return exec(QStringLiteral("SELECT * FROM \"Prehled \" ORDER BY rowid"));
    }

    // Runs a statement with its values bound; every field of every row it gives.
    std::vector<QVariantList> exec(const QString& statement, const QVariantList& values = {})
    {
        QSqlQuery query(database());
        query.prepare(statement);
        for (const QVariant& value : values) {
            query.addBindValue(value);
        }
        EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
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
    const QString m_path;
    const QString m_connection = m_dir.path(); // as unique as the folder
};

} // namespace voltmetr::testing
