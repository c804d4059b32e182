#include "signin/signin.h"
#include "signin/typedtext.h"
#include "support/sandbox.h"
#include "support/schoolfile.h"
#include "support/scriptedhost.h"
#include "support/unwritable.h"

#include <QCoreApplication>
#include <QDir>
#include <iostream>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

// The settings file and the database decide the modes on offer. What is there but cannot be used
// or would not take the run is named with the reason, and the pupil signs in by name; a file that
// is not there at all is not a fault. A database server is always tried: only a connection tells
// whether it is there. Trying the file's folder for the run leaves nothing behind.
TEST(SignInOffer, TheSettingsAndTheDatabaseDecideTheModes)
{
    testing::SchoolFile school;
    testing::SchoolFile other;
    school.addPupil(u"Svoboda"_s, u"2.A"_s);
    school.addPupil(u"Novák;ml."_s, u"3.B"_s);
    school.addPupil(QVariant(QMetaType::fromType<QString>()), u"1.C"_s);
    QFile::link(school.path(), other.folder() + u"/odkaz.sqlite"_s); // the journal goes by the file
    const QString unreadable = u"Školní databáze: Školní databázi nelze použít:\n%1\n\nDůvod: "_s;
    const auto refusing = [&](const QString& why) {
        return unreadable + why + u", tvůj výsledek by se do databáze neuložil\n\n"_s;
    };
    const QString settings = u"Nastavení školy: Nastavení programu v souboru %1 nelze použít: "_s;
    // The database, a settings file to write instead, the modes and pupils offered, and the
    // start of the message (%1: the database, or the settings file).
    const std::tuple<const char*, QString, QByteArray, QString, QString> cases[] = {
        {"present: its pupils in table order, NULL as empty", school.path(), "",
         u"school: Svoboda; 2.A|Novák;ml.; 3.B|; 1.C"_s, QString()},
        {"present with no pupils", other.path(), "", u"school: "_s, QString()},
        {"missing", other.folder() + u"/nikde.sqlite"_s, "", u"e-mail"_s, QString()},
        {"not a database", QCoreApplication::applicationFilePath(), "", u"e-mail"_s,
         unreadable + u"soubor není databáze, nebo je poškozený"_s},
        {"a server not reached", u"postgresql://127.0.0.1:1/chybi"_s, "", u"e-mail"_s,
         unreadable + u"k databázovému serveru se nelze připojit"_s},
        {"a server without the driver", u"postgresql://127.0.0.1:1/chybi"_s, "", u"e-mail"_s,
         unreadable + u"tento program nemá ovladač databázového serveru PostgreSQL (QPSQL) a k "
                      u"serveru se nepřipojí; v nastavení školy musí být soubor databáze"_s},
        // Found now rather than when the finished run cannot be stored.
        {"results column missing", other.path(), "", u"e-mail"_s,
         unreadable + u"v tabulce „Prehled “ chybí sloupec „Datum“"_s},
        {"a read-only file", school.path(), "", u"e-mail"_s,
         refusing(u"soubor databáze je jen pro čtení"_s)},
        {"a link into an unwritable folder", other.folder() + u"/odkaz.sqlite"_s, "", u"e-mail"_s,
         refusing(u"ve složce s databází nelze vytvářet soubory a databáze si v ní při ukládání "
                  u"zakládá soubor „skola.sqlite-journal“"_s)},
        {"a read-only share", school.path(), "", u"e-mail"_s,
         refusing(u"úložiště s databází (disk nebo sdílená složka) je připojeno jen pro čtení"_s)},
        // Not a database the school did not choose.
        {"a misspelt settings file", QString(), "[skola]\ndatabse=" + school.path().toUtf8(),
         u"e-mail"_s, settings},
    };
    for (const auto& [name, database, file, offered, message] : cases) {
        const QByteArray made(name);
        std::optional<testing::Unwritable> locked;
        std::optional<testing::ReadOnlyMount> mounted;
        if (made == "results column missing") {
            other.exec(u"ALTER TABLE \"Prehled \" DROP COLUMN Datum"_s);
        } else if (made == "a read-only file" || made == "a link into an unwritable folder") {
            locked.emplace(made.endsWith("file") ? school.path() : school.folder());
        } else if (made == "a read-only share" && geteuid() != 0) {
            std::cout << "Skipped \"" << name << "\": only root may mount a folder read-only.\n";
            continue;
        } else if (made == "a read-only share") {
            mounted.emplace(school.folder());
        }
        database.isEmpty() ? qunsetenv("VOLTMETR_DB") : qputenv("VOLTMETR_DB", database.toUtf8());
        const QString conf = file.isEmpty() ? database : testing::Sandbox::writeSettings(file);
        testing::ScriptedCoreHost host;
        if (made == "a server without the driver") {
            host.missingDrivers << u"QPSQL"_s;
        }
        const SignInOffer offer = offerSignIn(host);
        QStringList entries;
        for (const Profile& pupil : offer.pupils) {
            entries << profileEntry(pupil);
        }
        EXPECT_EQ(offer.schoolMode ? u"school: "_s + entries.join(u'|') : u"e-mail"_s, offered)
            << name;
        ASSERT_EQ(host.messages.size(), message.isEmpty() ? 0u : 1u) << name;
        if (!message.isEmpty()) {
            const auto& [prompt, title, style] = host.messages[0];
            EXPECT_TRUE(style == MessageStyle::OkCritical &&
                        (title + u": "_s + prompt).startsWith(message.arg(conf)) &&
                        prompt.endsWith(u"\n\nPřihlas se jménem a třídou, výsledek pak předáš "
                                        u"vyučujícímu jako zakódovanou zprávu."_s))
                << name << ": " << prompt.toStdString();
        }
        EXPECT_EQ(QDir(school.folder()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{u"skola.sqlite"_s})
            << name;
    }
}

// A run starts with the mode, who the pupil is and when: the time of day alone at a profile, the
// whole date at a name, whose report coder is prepared. Nobody chosen from the list starts
// nothing, with a beep.
TEST(StartRun, TheChoiceFillsTheRunState)
{
    // The choice (e-mail mode, list entry, name, class), and the run state then as "mode
    // name/class profile/class start time/date-time and whether a report was begun", or nothing
    // when the run does not start.
    const std::optional<QString> nobody;
    const std::tuple<const char*, bool, std::optional<QString>, QString, QString, const char*>
        cases[] = {
            {"a profile", false, u"Novák;ml.; 3.B"_s, u"Eva"_s, u"1.A"_s,
             "school / Novák/3.B 0.75 0.00 "},
            {"a profile without a class", false, u"Malá; "_s, QString(), QString(),
             "school / Malá/ 0.75 0.00 "},
            {"nobody chosen from the list", false, nobody, u"Eva"_s, u"1.A"_s, nullptr},
            {"a name", true, nobody, u"Eva Malá"_s, u"1.A"_s,
             "e-mail Eva Malá/1.A / 0 46363.75 4b"},
            {"a name with a profile left chosen", true, u"Malá; "_s, u"Eva"_s, QString(),
             "e-mail Eva/ / 0 46363.75 4b"},
        };
    for (const auto& [name, email, entry, typedName, typedClass, started] : cases) {
        testing::ScriptedCoreHost host;
        host.setClock(46363.75);
        Data_a_promene state;
        Info2 coder(host);
        const bool ok = startRun({email, entry, typedName, typedClass}, host, state, coder);
        EXPECT_EQ(std::pair(ok, host.beeps), std::pair(started != nullptr, ok ? 0 : 1)) << name;
        EXPECT_EQ(u"%1 %2/%3 %4/%5 %6 %7 %8"_s
                      .arg(state.EmailMode ? u"e-mail"_s : u"school"_s, state.PupilName,
                           state.PupilClass, state.ProfileSurname, state.ProfileClass)
                      .arg(state.StartTime)
                      .arg(state.StartDateTime, 0, 'f', 2)
                      .arg(coder.GetReportText().left(2)),
                  QString::fromUtf8(started ? started : "school / / 0 0.00 "))
            << name;
    }
}

// A name or class pasted from a spreadsheet cell or a document keeps no line break or other
// control character: a run of them between words is one blank, before or after the text none.
TEST(SignInText, ControlCharactersNeverReachTheNameOrClass)
{
    QStringList kept;
    for (const QString& typed : {u"Novák\r\n"_s, u"Jan\r\n\r\nNovák"_s, u"Eva\u2028Malá"_s,
                                 u"\t\x7f\x1bPetr"_s, u" Jan  Novák "_s}) {
        kept << signInText(typed);
    }
    EXPECT_EQ(kept, (QStringList{u"Novák"_s, u"Jan Novák"_s, u"Eva Malá"_s, u"Petr"_s,
                                 u" Jan  Novák "_s}));
}

} // namespace
} // namespace voltmetr
