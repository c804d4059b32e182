#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <vector>

namespace voltmetr::testing {

// A school database file in a temporary folder, with a connection of the test's own to set
// rows up and read them back.
class SchoolFile
{
public:
    enum class Content
    {
        Schema,
        Nothing
    };

    explicit SchoolFile(Content content = Content::Schema);
    ~SchoolFile();
    SchoolFile(const SchoolFile&) = delete;
    SchoolFile& operator=(const SchoolFile&) = delete;

    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    void addPupil(const QVariant& surname, const QVariant& className);
    // A result row with only the fields a test cares about; the others stay NULL.
    void addResult(const QVariant& surname, const QVariant& right, const QVariant& wrong);
    // Runs a statement of the test's own (dropping a table, holding a lock).
    void exec(const QString& statement);

    // Every field of every "Prehled " row, in table order.
    std::vector<QVariantList> resultRows();

private:
    QSqlDatabase db() const;

    QTemporaryDir m_dir;
    QString m_path;
    QString m_connection;
};

} // namespace voltmetr::testing
