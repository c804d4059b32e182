#include "app/windows1250.h"
#include "school/schooldatabase.h"
#include "school/schoolsettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

const QString builtIn = QStringLiteral(VOLTMETR_DEFAULT_DB);
const QString builtInContact = QString::fromLatin1(BuiltInContactAddress);

// Written as the settings file, these make a folder, or a socket that opens for nobody, not even
// for root, stand where the file belongs, or put the commented example the package installs.
const QString aFolder = u"(složka)"_s;
const QString aSocket = u"(soket)"_s;
const QString theExample = u"(příklad)"_s;
// Written before a text, saves it in Windows-1250, as Notepad of a Czech Windows used to save.
const QString inWindows1250 = u"(Windows-1250)"_s;

void makeSocket(const QString& path)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof(address.sun_path));
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    close(fd);
}

// A domain's group policy as the registry would hold it.
class Policy final : public SettingsPolicy
{
public:
    QVariantMap held;
    QString place() const override { return u"HKEY_LOCAL_MACHINE\\Software\\Policies\\Voltmetr"_s; }
    QVariantMap values() const override { return held; }
};

// Each case in two system configuration folders of its own, listed in XDG_CONFIG_DIRS in this
// order, with VOLTMETR_DB and the policy as the case sets them. The environment wins over the
// policy, the policy over the settings file, the file over what the build fixed. Settings that
// are there but cannot be used are named with their fault, and no location stands in for the
// school's, not even the built-in one; the contact address then falls back to the built-in one,
// and the environment still wins.
TEST(SchoolSettings, EnvironmentThenTheFirstFileThenTheBuiltInAndEveryFaultNamed)
{
    const std::optional<QString> none;
    const QString unknown = u"neznámé nastavení „%1“ (známá jsou skola/databaze a skola/kontakt)"_s;
    const struct
    {
        const char* name;
        std::optional<QString> environment;
        std::optional<QString> first; // the settings file in the first folder
        std::optional<QString> second;
        QString fault; // after "nelze použít: "; empty when the file is usable
        QString database = {};
        QString contact = builtInContact;
        QString policyKey = {}; // the one value a policy holds, if any
        QString policyValue = {};
    } cases[] = {
        {"nothing set", none, none, none, u""_s, builtIn},
        {"file only", none, u"[skola]\ndatabaze=/mnt/škola/a.sqlite\nkontakt=u@skola.cz\n"_s, none,
         u""_s, u"/mnt/škola/a.sqlite"_s, u"u@skola.cz"_s},
        {"a file in Windows-1250", none,
         inWindows1250 + u"[skola]\ndatabaze=/mnt/škola/žáci.sqlite\nkontakt=učitel@škola.cz\n"_s,
         none, u""_s, u"/mnt/škola/žáci.sqlite"_s, u"učitel@škola.cz"_s},
        {"environment over file", u"/tmp/jina.sqlite"_s, u"[skola]\ndatabaze=/mnt/a.sqlite\n"_s,
         none, u""_s, u"/tmp/jina.sqlite"_s},
        {"an empty environment counts as unset", u""_s, u"[skola]\ndatabaze=/mnt/a.sqlite\n"_s,
         none, u""_s, u"/mnt/a.sqlite"_s},
        {"an empty contact counts as unset", none, u"[skola]\nkontakt=\n"_s, none, u""_s, builtIn},
        {"an empty database is refused", none, u"[skola]\ndatabaze= \nkontakt=\n"_s, none,
         u"skola/databaze je prázdné (zapište úplnou cestu k databázi, nebo řádek smažte)"_s},
        {"a relative path is refused", none, u"[skola]\ndatabaze=data/skola.sqlite\n"_s, none,
         u"skola/databaze=data/skola.sqlite není úplná cesta; každý žák by ji hledal ve své "
         u"pracovní složce"_s},
        {"a server is no path", none, u"[skola]\ndatabaze=service=voltmetr\n"_s, none, u""_s,
         u"service=voltmetr"_s},
        {"the commented example the package installs", none, theExample, none, u""_s, builtIn},
        {"blanks around the values, quoted or not", none,
         u"[skola]\ndatabaze = \" /a.sqlite \"\nkontakt =  u@s.cz \n"_s, none, u""_s,
         u"/a.sqlite"_s, u"u@s.cz"_s},
        {"quoted values", none, u"[skola]\ndatabaze=\"/a.sqlite\"\nkontakt=\"u@s.cz\"\n"_s, none,
         u""_s, u"/a.sqlite"_s, u"u@s.cz"_s},
        {"a comma, unquoted", none, u"[skola]\ndatabaze=/mnt/a,b.sqlite\n"_s, none, u""_s,
         u"/mnt/a,b.sqlite"_s},
        {"the second folder's file when the first has none", none, none,
         u"[skola]\ndatabaze=/druha.sqlite\n"_s, u""_s, u"/druha.sqlite"_s},
        {"the first folder's file alone, never merged", none, u"[skola]\nkontakt=p@s.cz\n"_s,
         u"[skola]\ndatabaze=/druha.sqlite\n"_s, u""_s, builtIn, u"p@s.cz"_s},
        {"an unknown key", none, u"[skola]\ndatabaze=/a.sqlite\nheslo=tajne\n"_s, none,
         unknown.arg(u"skola/heslo"_s)},
        {"a misspelt key", none, u"[skola]\ndatabse=/a.sqlite\n"_s, none,
         unknown.arg(u"skola/databse"_s)},
        {"a key outside its section", none, u"databaze=/a.sqlite\n[skola]\n"_s, none,
         unknown.arg(u"databaze"_s)},
        {"a contact without an at sign", none, u"[skola]\nkontakt=pan učitel\n"_s, none,
         u"„pan učitel“ není e-mailová adresa"_s},
        {"a contact without a domain", none, u"[skola]\nkontakt=ucitel@\n"_s, none,
         u"„ucitel@“ není e-mailová adresa"_s},
        {"a contact with two at signs", none, u"[skola]\nkontakt=a@b@skola.cz\n"_s, none,
         u"„a@b@skola.cz“ není e-mailová adresa"_s},
        {"the environment over an unusable file", u"/tmp/jina.sqlite"_s,
         u"[skola]\ndatabse=/a.sqlite\n"_s, none, unknown.arg(u"skola/databse"_s),
         u"/tmp/jina.sqlite"_s},
        {"a folder where the file belongs", none, aFolder, u"[skola]\ndatabaze=/druha.sqlite\n"_s,
         u"na tom místě je složka, ne soubor"_s},
        {"a file that cannot be read", none, aSocket, none,
         u"soubor nejde otevřít (chyba systému č. %1)"_s.arg(ENXIO)},
        {"a Windows path with backslashes", none,
         u"[skola]\ndatabaze=\\\\server\\sdilene\\skola.sqlite\n"_s, none,
         u"zpětné lomítko v řádku „databaze=\\\\server\\sdilene\\skola.sqlite“; cestu pište s "
         u"lomítky /, například databaze=//server/sdilena/skola.sqlite"_s},
        {"the policy alone over the file", none, u"[skola]\ndatabaze=/a.sqlite\nkontakt=f@s.cz\n"_s,
         none, u""_s, u"//server/sdilene/skola.sqlite"_s, builtInContact, u"skola/databaze"_s,
         u"//server/sdilene/skola.sqlite"_s},
        {"the environment over the policy", u"/tmp/jina.sqlite"_s, none, none, u""_s,
         u"/tmp/jina.sqlite"_s, u"p@s.cz"_s, u"skola/kontakt"_s, u"p@s.cz"_s},
        {"a policy checked as the file", none, u"[skola]\ndatabaze=/a.sqlite\n"_s, none,
         unknown.arg(u"skola/heslo"_s), u""_s, builtInContact, u"skola/heslo"_s, u"tajne"_s},
    };

    for (const auto& c : cases) {
        QTemporaryDir first;
        QTemporaryDir second;
        qputenv("XDG_CONFIG_DIRS", (first.path() + u':' + second.path()).toUtf8());
        c.environment ? qputenv("VOLTMETR_DB", c.environment->toUtf8()) : qunsetenv("VOLTMETR_DB");
        const auto place = [](const QTemporaryDir& folder, const std::optional<QString>& text) {
            QDir(folder.path()).mkpath(u"voltmetr"_s);
            const QString path = folder.filePath(u"voltmetr/voltmetr.conf"_s);
            if (text == aFolder) {
                QDir().mkpath(path);
            } else if (text == aSocket) {
                makeSocket(path);
            } else if (text == theExample) {
                EXPECT_TRUE(QFile::copy(QStringLiteral(SETTINGS_EXAMPLE), path));
            } else if (QFile file(path); text && file.open(QIODevice::WriteOnly)) {
                QByteArray bytes = text->toUtf8();
                if (text->startsWith(inWindows1250)) {
                    bytes.clear();
                    for (const char32_t character : text->mid(inWindows1250.size()).toUcs4()) {
                        bytes += char(windows1250Byte(character));
                    }
                }
                file.write(bytes);
            }
            return path;
        };
        const QString inFirst = place(first, c.first);
        place(second, c.second);
        const QString where =
            c.policyKey.isEmpty()
                ? u"v souboru "_s + inFirst
                : u"v zásadách skupiny HKEY_LOCAL_MACHINE\\Software\\Policies\\Voltmetr"_s;
        const QString problem =
            c.fault.isEmpty() ? QString()
                              : u"Nastavení programu %1 nelze použít: %2."_s.arg(where, c.fault);
        Policy policy;
        if (!c.policyKey.isEmpty()) {
            policy.held.insert(c.policyKey, c.policyValue);
        }
        const SchoolSetting location = configuredDatabaseLocation(policy);
        const SchoolSetting contact = configuredContactAddress(policy);
        // The program's own lookup asks this computer, which has no policy.
        const QString asked = c.policyKey.isEmpty() ? schoolDatabasePath() : location.value;
        EXPECT_EQ(
            std::tuple(location.value, asked, location.problem, contact.value, contact.problem),
            std::tuple(c.database, c.database,
                       c.environment.value_or(u""_s).isEmpty() ? problem : u""_s, c.contact,
                       problem))
            << c.name;
    }
    qunsetenv("XDG_CONFIG_DIRS");
    qunsetenv("VOLTMETR_DB");
}

} // namespace
} // namespace voltmetr
