#pragma once

#include "school/schooldatabase.h"
#include "school/schoolschema.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace voltmetr::testing {

// An empty school database, made as the teacher's tool makes it: a file of the given name in a
// temporary folder, or the given server's database. The test's own connection sets rows up,
// breaks the database and reads the stored rows back.
class SchoolFile
{
public:
    explicit SchoolFile(const QString& name = QStringLiteral("skola.sqlite"),
                        const QString& server = {})
        : m_path(server.isEmpty() ? m_dir.filePath(name) : server)
    {
        if (server.isEmpty()) {
            QFile(m_path).open(QIODevice::WriteOnly); // an empty file is an empty database
        }
        m_connection.emplace(m_path, SchoolConnection::Access::Write);
        EXPECT_EQ(m_connection->openError() + createSchoolSchema(m_connection->db()), QString());
    }

    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    QSqlDatabase& database() { return m_connection->db(); }

    void addPupil(const QVariant& surname, const QVariant& className)
    {
        exec(QStringLiteral("INSERT INTO Zaci (Prijmeni, Trida) VALUES (?, ?)"),
             {surname, className});
    }
    // The fields left out stay NULL.
    void addResult(const QVariant& surname, const QVariant& right, const QVariant& wrong)
    {
        exec(QStringLiteral(
                 R"(INSERT INTO "Prehled " ("Prijmeni", "Spravne", "Chybne") VALUES (?, ?, ?))"),
             {surname, right, wrong});
    }
    std::vector<QVariantList> resultRows()
    {
        return exec(QStringLiteral("SELECT * FROM \"Prehled \" ORDER BY rowid"));
    }

    // Runs a statement with its values bound; every field of every row it gives. A statement
    // without values runs as it stands, as a change of a table must on a server.
    std::vector<QVariantList> exec(const QString& statement, const QVariantList& values = {})
    {
        QSqlQuery query(database());
        if (!values.isEmpty()) {
            query.prepare(statement);
            for (const QVariant& value : values) {
                query.addBindValue(value);
            }
        }
        EXPECT_TRUE(values.isEmpty() ? query.exec(statement) : query.exec())
            << statement.toStdString() << ": " << query.lastError().text().toStdString();
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
    std::optional<SchoolConnection> m_connection;
};

} // namespace voltmetr::testing
