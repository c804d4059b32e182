#include "signin/signin.h"
#include "support/sandbox.h"
#include "support/schoolfile.h"
#include "support/scriptedhost.h"
#include "support/throwawayserver.h"

#include <QCoreApplication>
#include <functional>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;
using testing::Sandbox;
using testing::SchoolFile;
using testing::ThrowawayServer;

const QString byName =
    u"\n\nPřihlas se jménem a třídou, výsledek pak předáš vyučujícímu jako zakódovanou zprávu."_s;

// The settings file and the database decide the modes on offer. What is there but cannot be used
// is named, and the pupil signs in by name; a database that is not there at all is not a fault.
// A school on a database server signs in as the pupils' role.
TEST(SignInOffer, TheSettingsAndTheDatabaseDecideTheModes)
{
    const QVariant null(QMetaType::fromType<QString>());
    SchoolFile school;
    SchoolFile other;
    school.addPupil(u"Svoboda"_s, u"2.A"_s);
    school.addPupil(u"Novák;ml."_s, u"3.B"_s);
    school.addPupil(u"Malá"_s, null);
    school.addPupil(null, u"1.C"_s);
    const QString pupils = u"school: Svoboda; 2.A|Novák;ml.; 3.B|Malá; |; 1.C"_s;
    const QString unreadable = u"Školní databáze: Školní databázi se nepodařilo přečíst:\n%1\n\n"
                               u"Důvod: %2"_s +
                               byName;
    const QString settings = u"Nastavení školy: Nastavení programu v souboru %1 nelze použít: "_s;
    QString conf;
    // The settings file (none when empty), VOLTMETR_DB (made by the case, unset when empty), the
    // modes and pupils offered, and the message, %1 standing for the location.
    const std::tuple<const char*, QByteArray, std::function<QString()>, QString, QString> cases[] = {
        {"present: its pupils in table order, NULL as empty",
         {},
         [&] { return school.path(); },
         pupils,
         {}},
        {"present with no pupils", {}, [&] { return other.path(); }, u"school: "_s, {}},
        {"missing", {}, [&] { return other.folder() + u"/nikde.sqlite"_s; }, u"e-mail"_s, {}},
        {"not a database",
         {},
         [] { return QCoreApplication::applicationFilePath(); },
         u"e-mail"_s,
         unreadable.arg(u"%1"_s, u"soubor není databáze, nebo je poškozený"_s)},
        // Found now rather than when the finished run cannot be stored.
        {"results column missing",
         {},
         [&] {
             other.exec(u"ALTER TABLE \"Prehled \" DROP COLUMN Datum"_s);
             return other.path();
         },
         u"e-mail"_s,
         unreadable.arg(u"%1"_s, u"v tabulce „Prehled “ chybí sloupec „Datum“"_s)},
        {"class field missing",
         {},
         [&] {
             other.exec(u"ALTER TABLE Zaci DROP COLUMN Trida"_s);
             return other.path();
         },
         u"e-mail"_s,
         unreadable.arg(u"%1"_s, u"v tabulce „Zaci“ chybí sloupec „Trida“"_s)},
        {"a school's server",
         {},
         [&] {
             const QString server = ThrowawayServer::newSchool();
             SchoolConnection administrator(server, SchoolConnection::Access::Write);
             EXPECT_TRUE(
                 QSqlQuery(administrator.db())
                     .exec(uR"(INSERT INTO "Zaci" VALUES ('Šťastná', '2.B'), ('Adam', '1.A'))"_s));
             return ThrowawayServer::asPupils(server);
         },
         u"school: Šťastná; 2.B|Adam; 1.A"_s,
         {}},
        {"a database the server lacks",
         {},
         [&] { return ThrowawayServer::asPupils(u"postgresql:///chybi"_s); },
         u"e-mail"_s,
         unreadable.arg(u"%1"_s, u"k databázovému serveru se nelze připojit: neběží, není "
                                 u"dostupný, nebo odmítl přihlášení"_s)},
        {"the settings file's database",
         "[skola]\ndatabaze=" + school.path().toUtf8(),
         [] { return QString(); },
         pupils,
         {}},
        // Not against a database the school did not choose.
        {"a misspelt settings file", "[skola]\ndatabse=" + school.path().toUtf8(),
         [] { return QString(); }, u"e-mail"_s, settings},
        {"the environment needs no settings file",
         "[skola]\ndatabse=x",
         [&] { return school.path(); },
         pupils,
         {}},
    };
    for (const auto& [name, file, database, offered, message] : cases) {
        if (!conf.isEmpty()) {
            QFile::remove(conf);
        }
        conf = file.isEmpty() ? QString() : Sandbox::writeSettings(file);
        const QString location = database();
        location.isEmpty() ? qunsetenv("VOLTMETR_DB") : qputenv("VOLTMETR_DB", location.toUtf8());
        testing::ScriptedCoreHost host;
        const SignInOffer offer = offerSignIn(host);
        QStringList entries;
        for (const Profile& pupil : offer.pupils) {
            entries << profileEntry(pupil);
        }
        EXPECT_EQ(offer.schoolMode ? u"school: "_s + entries.join(u'|') : u"e-mail"_s, offered)
            << name;
        QStringList shown;
        for (const auto& asked : host.messages) {
            EXPECT_EQ(asked.style, MessageStyle::OkCritical) << name;
            shown << asked.title + u": "_s + asked.prompt;
        }
        ASSERT_EQ(shown.size(), message.isEmpty() ? 0 : 1) << name;
        if (!message.isEmpty()) {
            const QString expected = message.arg(message == settings ? conf : location);
            EXPECT_TRUE(shown[0].startsWith(expected) && shown[0].endsWith(byName))
                << name << ": " << shown[0].toStdString();
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
