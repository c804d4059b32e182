#include "results/reportfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

const QString report = QStringLiteral("4b 80 11 22 33 44 55 66 77 88 \r\n99 ");

TEST(WriteReportFile, WritesTheReportAndOneLineBreakAsBytes)
{
    const struct
    {
        const char* name;
        QString text;
        QByteArray bytes;
    } cases[] = {
        {"ends with a blank", report,
         QByteArrayLiteral("4b 80 11 22 33 44 55 66 77 88 \r\n99 \r\n")},
        {"ends with a full line", QStringLiteral("4b 80 11 22 33 44 55 66 77 88 \r\n"),
         QByteArrayLiteral("4b 80 11 22 33 44 55 66 77 88 \r\n\r\n")},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Vysledky.txt"));
        EXPECT_EQ(writeReportFile(path, c.text), QString()) << c.name;
        EXPECT_EQ(contentOf(path), c.bytes) << c.name;
    }
}

TEST(WriteReportFile, ReplacesAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vysledky.txt"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(500, 'z'));
    old.close();
    EXPECT_EQ(writeReportFile(path, report), QString());
    EXPECT_EQ(writeReportFile(path, report), QString());
    EXPECT_EQ(contentOf(path), report.toLatin1() + "\r\n");
}

TEST(WriteReportFile, AFileThatCannotBeWrittenGivesTheReasonAndSparesWhatWasThere)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("slozka"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct
    {
        const char* name;
        QString path;
    } cases[] = {
        {"a folder that does not exist", dir.filePath(QStringLiteral("nikde/Vysledky.txt"))},
        {"a folder in place of the file", folder},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(writeReportFile(c.path, report).isEmpty()) << c.name;
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("nikde"))));
}

} // namespace
} // namespace voltmetr
