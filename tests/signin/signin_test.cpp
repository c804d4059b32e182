#include "signin/signin.h"
#include "support/sandbox.h"
#include "support/schoolfile.h"
#include "support/scriptedhost.h"

#include <QCoreApplication>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;
using testing::Sandbox;
using testing::SchoolFile;

const QString byName =
    u"\n\nPřihlas se jménem a třídou, výsledek pak předáš vyučujícímu jako zakódovanou zprávu."_s;

// The settings file and the database decide the modes on offer. What is there but cannot be used
// is named with the reason, and the pupil signs in by name; a file that is not there at all is not
// a fault. A database server is always tried: only a connection tells whether it is there.
TEST(SignInOffer, TheSettingsAndTheDatabaseDecideTheModes)
{
    SchoolFile school;
    SchoolFile other;
    school.addPupil(u"Svoboda"_s, u"2.A"_s);
    school.addPupil(u"Novák;ml."_s, u"3.B"_s);
    school.addPupil(QVariant(QMetaType::fromType<QString>()), u"1.C"_s);
    const QString unreadable = u"Školní databáze: Školní databázi se nepodařilo přečíst:\n%1\n\n"
                               u"Důvod: "_s;
    const QString settings = u"Nastavení školy: Nastavení programu v souboru %1 nelze použít: "_s;
    const QString server = u"postgresql://127.0.0.1:1/chybi"_s;
    // The database, a settings file to write first, the modes and pupils offered, and the start
    // of the message (%1: the database, or the settings file once written).
    const std::tuple<const char*, QString, QByteArray, QString, QString> cases[] = {
        {"present: its pupils in table order, NULL as empty",
         school.path(),
         {},
         u"school: Svoboda; 2.A|Novák;ml.; 3.B|; 1.C"_s,
         {}},
        {"present with no pupils", other.path(), {}, u"school: "_s, {}},
        {"missing", other.folder() + u"/nikde.sqlite"_s, {}, u"e-mail"_s, {}},
        {"not a database",
         QCoreApplication::applicationFilePath(),
         {},
         u"e-mail"_s,
         unreadable + u"soubor není databáze, nebo je poškozený"_s},
        {"a server not reached",
         server,
         {},
         u"e-mail"_s,
         unreadable + u"k databázovému serveru se nelze připojit"_s},
        // Found now rather than when the finished run cannot be stored.
        {"results column missing",
         other.path(),
         {},
         u"e-mail"_s,
         unreadable + u"v tabulce „Prehled “ chybí sloupec „Datum“"_s},
        // Not a database the school did not choose.
        {"a misspelt settings file",
         {},
         "[skola]\ndatabse=" + school.path().toUtf8(),
         u"e-mail"_s,
         settings},
    };
    for (const auto& [name, database, file, offered, message] : cases) {
        if (QByteArray(name) == "results column missing") {
            other.exec(u"ALTER TABLE \"Prehled \" DROP COLUMN Datum"_s);
        }
        database.isEmpty() ? qunsetenv("VOLTMETR_DB") : qputenv("VOLTMETR_DB", database.toUtf8());
        const QString conf = file.isEmpty() ? database : Sandbox::writeSettings(file);
        testing::ScriptedCoreHost host;
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
            EXPECT_EQ(style, MessageStyle::OkCritical);
            EXPECT_TRUE((title + u": "_s + prompt).startsWith(message.arg(conf)) &&
                        prompt.endsWith(byName))
                << name << ": " << prompt.toStdString();
        }
    }
}

// A run starts with the mode, who the pupil is and when: the time of day alone at a profile, the
// whole date at a name, whose report coder is prepared. Nobody chosen from the list starts
// nothing.
TEST(StartRun, TheChoiceFillsTheRunState)
{
    // The choice, and the run state then as "mode name/class profile/class start time/date-time
    // and whether a report was begun", or nothing when the run does not start.
    const std::tuple<const char*, SignInChoice, const char*> cases[] = {
        {"a profile",
         {false, u"Novák;ml.; 3.B"_s, u"Eva"_s, u"1.A"_s},
         "school / Novák/3.B 0.75 0.00 "},
        {"a profile without a class", {false, u"Malá; "_s, {}, {}}, "school / Malá/ 0.75 0.00 "},
        {"nobody chosen from the list", {false, std::nullopt, u"Eva"_s, u"1.A"_s}, nullptr},
        {"a name",
         {true, std::nullopt, u"Eva Malá"_s, u"1.A"_s},
         "e-mail Eva Malá/1.A / 0 46363.75 4b"},
        {"a name with a profile left chosen",
         {true, u"Malá; "_s, u"Eva"_s, {}},
         "e-mail Eva/ / 0 46363.75 4b"},
    };
    for (const auto& [name, choice, started] : cases) {
        testing::ScriptedCoreHost host;
        host.setClock(46363.75);
        Data_a_promene state;
        Info2 coder(host);
        const bool ok = startRun(choice, host, state, coder);
        EXPECT_EQ(ok, started != nullptr) << name;
        EXPECT_EQ(host.beeps, ok ? 0 : 1) << name;
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

} // namespace
} // namespace voltmetr
