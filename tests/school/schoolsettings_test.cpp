#include "school/schooldatabase.h"
#include "school/schoolsettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

// Two system configuration folders of the test's own, listed in XDG_CONFIG_DIRS in this order,
// and VOLTMETR_DB as each case wants it.
class SchoolSettingsTest : public ::testing::Test
{
protected:
    SchoolSettingsTest()
    {
        qputenv("XDG_CONFIG_DIRS", (first.path() + u':' + second.path()).toUtf8());
    }
    ~SchoolSettingsTest() override
    {
        qunsetenv("XDG_CONFIG_DIRS");
        qunsetenv("VOLTMETR_DB");
    }

    static void setEnvironment(const std::optional<QString>& database)
    {
        if (database) {
            qputenv("VOLTMETR_DB", database->toUtf8());
        } else {
            qunsetenv("VOLTMETR_DB");
        }
    }

    // Writes folder/voltmetr/voltmetr.conf; returns its path.
    static QString writeSettings(const QTemporaryDir& folder, const QString& contents)
    {
        QDir(folder.path()).mkpath(u"voltmetr"_s);
        const QString path = folder.filePath(u"voltmetr/voltmetr.conf"_s);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents.toUtf8());
        return path;
    }

    QTemporaryDir first;
    QTemporaryDir second;
};

const QString builtIn = QStringLiteral(VOLTMETR_DEFAULT_DB);

QString installedExample()
{
    QFile example(QStringLiteral(SETTINGS_EXAMPLE));
    EXPECT_TRUE(example.open(QIODevice::ReadOnly));
    return QString::fromUtf8(example.readAll());
}

// The environment wins over the settings file, the file over the location built in. A location
// is one text whatever it holds: a server's address, an option with a comma.
TEST_F(SchoolSettingsTest, DatabaseLocationComesFromEnvironmentThenFileThenBuiltIn)
{
    const std::optional<QString> unset;
    const std::tuple<const char*, std::optional<QString>, std::optional<QString>, QString> cases[] =
        {
            {"nothing set", unset, unset, builtIn},
            {"environment only", u"/tmp/jina.sqlite"_s, unset, u"/tmp/jina.sqlite"_s},
            {"file only", unset, u"[skola]\ndatabaze=/mnt/skola/a.sqlite\n"_s,
             u"/mnt/skola/a.sqlite"_s},
            {"environment over file", u"/tmp/jina.sqlite"_s,
             u"[skola]\ndatabaze=/mnt/skola/a.sqlite\n"_s, u"/tmp/jina.sqlite"_s},
            {"empty environment counts as unset", u""_s,
             u"[skola]\ndatabaze=/mnt/skola/a.sqlite\n"_s, u"/mnt/skola/a.sqlite"_s},
            {"file without a database", unset, u"[skola]\nkontakt=ucitel@skola.cz\n"_s, builtIn},
            {"the commented example the package installs", unset, installedExample(), builtIn},
            {"a server", unset,
             u"[skola]\ndatabaze=postgresql://server.skola.cz/voltmetr?sslmode=require\n"_s,
             u"postgresql://server.skola.cz/voltmetr?sslmode=require"_s},
            {"a service", unset, u"[skola]\ndatabaze=service=voltmetr\n"_s, u"service=voltmetr"_s},
            {"a comma, unquoted", unset, u"[skola]\ndatabaze=/mnt/a,b.sqlite\n"_s,
             u"/mnt/a,b.sqlite"_s},
            {"a comma and a semicolon, quoted", unset,
             u"[skola]\ndatabaze=\"postgresql://s/v?options=a,b;c\"\n"_s,
             u"postgresql://s/v?options=a,b;c"_s},
            {"Czech letters", unset, u"[skola]\ndatabaze=/mnt/škola/výsledky.sqlite\n"_s,
             u"/mnt/škola/výsledky.sqlite"_s},
        };
    for (const auto& [name, environment, file, expected] : cases) {
        QFile::remove(first.filePath(u"voltmetr/voltmetr.conf"_s));
        setEnvironment(environment);
        if (file) {
            writeSettings(first, *file);
        }
        const SchoolSetting location = configuredDatabaseLocation();
        EXPECT_EQ(location.value, expected) << name;
        EXPECT_EQ(location.problem, QString()) << name;
        EXPECT_EQ(schoolDatabasePath(), expected) << name;
    }
}

// A settings file that is there but cannot be used is named with what is wrong, and no location
// stands in for the school's: not even the one built in. The environment still wins over it.
TEST_F(SchoolSettingsTest, AnUnusableFileIsNamedNotReplacedByTheDefault)
{
    const QString path = first.filePath(u"voltmetr/voltmetr.conf"_s);
    const std::tuple<const char*, std::function<void()>, QString> cases[] = {
        {"a misspelt key",
         [&] { writeSettings(first, u"[skola]\ndatabse=/mnt/skola/a.sqlite\n"_s); },
         u"neznámé nastavení „skola/databse“"_s},
        {"a key outside its section",
         [&] { writeSettings(first, u"databaze=/mnt/skola/a.sqlite\n"_s); },
         u"neznámé nastavení „databaze“"_s},
        {"a contact that is no address",
         [&] { writeSettings(first, u"[skola]\nkontakt=pan učitel\n"_s); },
         u"„pan učitel“ není e-mailová adresa"_s},
        {"a folder where the file belongs",
         [&] {
             QFile::remove(path);
             QDir(first.path()).mkpath(u"voltmetr/voltmetr.conf"_s);
         },
         u"složka"_s},
    };
    for (const auto& [name, prepare, reason] : cases) {
        QDir(path).removeRecursively();
        prepare();
        setEnvironment(std::nullopt);
        const SchoolSetting location = configuredDatabaseLocation();
        EXPECT_EQ(location.value, QString()) << name;
        EXPECT_TRUE(location.problem.startsWith(u"Nastavení programu v souboru "_s + path))
            << name << ": " << location.problem.toStdString();
        EXPECT_TRUE(location.problem.contains(reason))
            << name << ": " << location.problem.toStdString();
        EXPECT_EQ(schoolDatabasePath(), QString()) << name;

        const SchoolSetting contact = configuredContactAddress();
        EXPECT_EQ(contact.value, QString::fromLatin1(BuiltInContactAddress)) << name;
        EXPECT_EQ(contact.problem, location.problem) << name;

        setEnvironment(u"/tmp/jina.sqlite"_s);
        EXPECT_EQ(configuredDatabaseLocation().value, u"/tmp/jina.sqlite"_s) << name;
        EXPECT_EQ(configuredDatabaseLocation().problem, QString()) << name;
    }
}

// The folders are searched in the order listed; the first that holds the file decides alone.
TEST_F(SchoolSettingsTest, TheFirstListedFolderWithAFileDecides)
{
    setEnvironment(std::nullopt);
    const QString inSecond = writeSettings(second, u"[skola]\ndatabaze=/druha.sqlite\n"_s);
    EXPECT_EQ(schoolSettingsFile(), inSecond);
    EXPECT_EQ(configuredDatabaseLocation().value, u"/druha.sqlite"_s);

    const QString inFirst = writeSettings(first, u"[skola]\nkontakt=prvni@skola.cz\n"_s);
    EXPECT_EQ(schoolSettingsFile(), inFirst);
    EXPECT_EQ(configuredDatabaseLocation().value, builtIn) << "the second file is not merged in";
    EXPECT_EQ(configuredContactAddress().value, u"prvni@skola.cz"_s);

    qputenv("XDG_CONFIG_DIRS", QByteArray());
    EXPECT_EQ(schoolSettingsFile(), QFileInfo::exists(u"/etc/xdg/voltmetr/voltmetr.conf"_s)
                                        ? u"/etc/xdg/voltmetr/voltmetr.conf"_s
                                        : QString())
        << "without the variable, /etc/xdg alone";
}

TEST_F(SchoolSettingsTest, ContactAddressComesFromFileThenBuiltIn)
{
    const std::tuple<const char*, std::optional<QString>, QString> cases[] = {
        {"no file", std::nullopt, u"voltmetr@example.cz"_s},
        {"file without a contact", u"[skola]\ndatabaze=/a.sqlite\n"_s, u"voltmetr@example.cz"_s},
        {"the school's address", u"[skola]\nkontakt=ucitel.fyziky@spslipova.cz\n"_s,
         u"ucitel.fyziky@spslipova.cz"_s},
        {"blanks around it", u"[skola]\nkontakt =  ucitel@skola.cz  \n"_s, u"ucitel@skola.cz"_s},
    };
    for (const auto& [name, file, expected] : cases) {
        QFile::remove(first.filePath(u"voltmetr/voltmetr.conf"_s));
        if (file) {
            writeSettings(first, *file);
        }
        const SchoolSetting contact = configuredContactAddress();
        EXPECT_EQ(contact.value, expected) << name;
        EXPECT_EQ(contact.problem, QString()) << name;
    }
}

} // namespace
} // namespace voltmetr
