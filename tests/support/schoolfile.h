#pragma once

#include "school/schooldatabase.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace voltmetr::testing {

// Runs a statement with its values bound; every field of every row it gives. A statement without
// values runs as it stands, as a change of a table must on a server.
inline std::vector<QVariantList> rowsOf(QSqlDatabase& db, const QString& statement,
                                        const QVariantList& values = {})
{
    QSqlQuery query(db);
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

// A school database file in a temporary folder, with a connection of the test's own to set
// rows up, break the file and read the stored rows back.
class SchoolFile
{
public:
    explicit SchoolFile(const QString& name = QStringLiteral("skola.sqlite"))
        : m_path(m_dir.filePath(name))
    {
        QFile(m_path).open(QIODevice::WriteOnly); // an empty file is an empty database
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
        exec(
            QStringLiteral("INSERT INTO \"Prehled \" (Prijmeni, Spravne, Chybne) VALUES (?, ?, ?)"),
            {surname, right, wrong});
    }
    std::vector<QVariantList> resultRows()
    {
        return exec(QStringLiteral("SELECT * FROM \"Prehled \" ORDER BY rowid"));
    }

    std::vector<QVariantList> exec(const QString& statement, const QVariantList& values = {})
    {
        return rowsOf(database(), statement, values);
    }

private:
    QTemporaryDir m_dir;
    const QString m_path;
    std::optional<SchoolConnection> m_connection;
};

} // namespace voltmetr::testing
