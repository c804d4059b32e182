#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace voltmetr::testing {

// Every test starts with an empty system settings folder (xdg) and a school database location
// where no database exists (missing/skola.sqlite), in a temporary folder of its own: no test reads
// the computer's settings file, stores into its school database or logs into its journal, whatever
// the test before left set. A test that needs one sets its own; the programs it starts inherit it.
class Sandbox final : public ::testing::EmptyTestEventListener
{
public:
    static void install() { ::testing::UnitTest::GetInstance()->listeners().Append(new Sandbox); }

    // Enters a new sandbox; its folder.
    static QString enter()
    {
        s_folder = std::make_unique<QTemporaryDir>();
        EXPECT_TRUE(QDir(s_folder->path()).mkpath(QStringLiteral("xdg")));
        qputenv("XDG_CONFIG_DIRS", s_folder->filePath(QStringLiteral("xdg")).toUtf8());
        qputenv("VOLTMETR_DB", s_folder->filePath(QStringLiteral("missing/skola.sqlite")).toUtf8());
        qputenv("VOLTMETR_JOURNAL_SOCKET",
                s_folder->filePath(QStringLiteral("missing/journal")).toUtf8());
        return s_folder->path();
    }

    // Writes the school's settings file into the test's settings folder, or into the system
    // settings folder given; its path.
    static QString writeSettings(const QByteArray& contents, QString folder = {})
    {
        folder = folder.isEmpty() ? s_folder->filePath(QStringLiteral("xdg")) : folder;
        QFile file(folder + QStringLiteral("/voltmetr/voltmetr.conf"));
        EXPECT_TRUE(QDir(folder).mkpath(QStringLiteral("voltmetr")) &&
                    file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        return file.fileName();
    }

    void OnTestStart(const ::testing::TestInfo&) override { enter(); }
    void OnTestEnd(const ::testing::TestInfo&) override { s_folder.reset(); }

private:
    static inline std::unique_ptr<QTemporaryDir> s_folder;
};

} // namespace voltmetr::testing
