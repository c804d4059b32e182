#include "signin/welcome.h"
#include "support/throwawayserver.h"
#include "support/windowfixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;
using testing::SchoolFile;
using testing::ThrowawayServer;

class WelcomeTest : public testing::WindowFixture
{
protected:
    WelcomeTest()
    {
        const QVariant null(QMetaType::fromType<QString>());
        school.addPupil(u"Svoboda"_s, u"2.A"_s);
        school.addPupil(u"Novák;ml."_s, u"3.B"_s);
        school.addPupil(u"Malá"_s, null);
        school.addPupil(null, u"1.C"_s);
    }

    // The modes on offer, the chosen one, the profiles listed, and the side that is enabled.
    static QString shape(QWidget& window)
    {
        const auto& users = child<QComboBox>(window, "Users");
        QStringList entries;
        for (int i = 0; i < users.count(); ++i) {
            entries << users.itemText(i);
        }
        return u"%1 %2 [%3] %4"_s.arg(
            child<QRadioButton>(window, "conn0").isEnabled() ? u"both" : u"e-mail only",
            child<QRadioButton>(window, "conn0").isChecked() ? u"school" : u"e-mail",
            entries.join(u'|'),
            users.isEnabled() && !child<QLineEdit>(window, "Jm").isEnabled() ? u"profile"
                                                                             : u"typed");
    }
};

// A file or server that is there but cannot be read is named, and sign-in goes on by e-mail. A
// school on a database server signs in as the pupils' role, and no file has to exist for it.
TEST_F(WelcomeTest, TheDatabaseDecidesTheModesOnOffer)
{
    const QString emailOnly = u"e-mail only e-mail [] typed"_s;
    SchoolFile other;
    // The reason named after "Důvod: ", none when nothing is named.
    const std::tuple<const char*, std::function<QString()>, QString, QString> cases[] = {
        {"present: its pupils in table order, NULL as empty",
         [&] { return school.path(); },
         u"both school [Svoboda; 2.A|Novák;ml.; 3.B|Malá; |; 1.C] profile"_s,
         {}},
        {"present with no pupils", [&] { return other.path(); }, u"both school [] profile"_s, {}},
        {"missing", [&] { return other.folder() + u"/nikde.sqlite"_s; }, emailOnly, {}},
        {"not a database", [] { return QCoreApplication::applicationFilePath(); }, emailOnly,
         u"soubor není databáze, nebo je poškozený"_s},
        // Found now rather than when the finished run cannot be stored.
        {"results column missing",
         [&] {
             other.exec(u"ALTER TABLE \"Prehled \" DROP COLUMN Datum"_s);
             return other.path();
         },
         emailOnly, u"v tabulce „Prehled “ chybí sloupec „Datum“"_s},
        {"class field missing",
         [&] {
             other.exec(u"ALTER TABLE Zaci DROP COLUMN Trida"_s);
             return other.path();
         },
         emailOnly, u"v tabulce „Zaci“ chybí sloupec „Trida“"_s},
        {"a school's server",
         [&] {
             const QString server = ThrowawayServer::newSchool();
             SchoolConnection administrator(server, SchoolConnection::Access::Write);
             EXPECT_TRUE(
                 QSqlQuery(administrator.db())
                     .exec(uR"(INSERT INTO "Zaci" VALUES ('Šťastná', '2.B'), ('Adam', '1.A'))"_s));
             return ThrowawayServer::asPupils(server);
         },
         u"both school [Šťastná; 2.B|Adam; 1.A] profile"_s,
         {}},
        {"a database the server lacks",
         [&] { return ThrowawayServer::asPupils(u"postgresql:///chybi"_s); }, emailOnly,
         QStringLiteral("k databázovému serveru se nelze připojit: neběží, není dostupný, nebo "
                        "odmítl přihlášení")},
    };
    for (const auto& [name, database, expectedShape, reason] : cases) {
        const QString path = database();
        useDatabase(path);
        host.messages.clear();
        Welcome window(context);
        EXPECT_EQ(shape(window), expectedShape) << name;
        ASSERT_EQ(host.messages.size(), reason.isEmpty() ? 0u : 1u) << name;
        EXPECT_TRUE(reason.isEmpty() ||
                    (host.messages[0].prompt.startsWith(
                         u"Školní databázi se nepodařilo přečíst:\n"_s + path) &&
                     host.messages[0].prompt.contains(u"Důvod: "_s + reason + u'\n')))
            << name;
    }
}

// Nobody is chosen as the sign-in opens: Enter then only beeps. A profile chosen by keyboard
// signs that pupil in, a missing surname or class as empty.
TEST_F(WelcomeTest, NobodyIsSignedInUntilThePupilChoosesAProfile)
{
    const QKeyCombination list = Qt::ALT | Qt::Key_V;
    // Keys pressed, each to whatever has the focus, and the pupil then signed in.
    const std::tuple<const char*, std::vector<QKeyCombination>, const char*> cases[] = {
        {"Enter at once", {Qt::Key_Return}, nullptr},
        {"Enter on the list before choosing", {list, Qt::Key_Return}, nullptr},
        {"Alt+V, Down", {list, Qt::Key_Down, Qt::Key_Return}, "Svoboda/2.A"},
        {"Alt+V, Down, Down", {list, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, "Novák/3.B"},
        {"Tab to the list, End, keypad Enter", {Qt::Key_Tab, Qt::Key_End, Qt::Key_Enter}, "/1.C"},
        {"Tab to the list, End, Up",
         {Qt::Key_Tab, Qt::Key_End, Qt::Key_Up, Qt::Key_Return},
         "Malá/"},
    };
    for (const auto& [name, keys, signedIn] : cases) {
        state = Data_a_promene();
        host.beeps = 0;
        Welcome window(context);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << name;
        const auto& users = child<QComboBox>(window, "Users");
        EXPECT_EQ(users.currentIndex(), -1) << name;
        EXPECT_EQ(users.currentText(), QString()) << name << ": the list shows nobody";
        for (const QKeyCombination k : keys) {
            QTest::keyClick(QApplication::focusWidget(), k.key(), k.keyboardModifiers());
        }
        const bool chosen = signedIn != nullptr;
        EXPECT_EQ(host.beeps, chosen ? 0 : 1) << name;
        EXPECT_EQ(shownExercise() != nullptr, chosen) << name;
        EXPECT_EQ(window.isVisible(), !chosen) << name;
        EXPECT_EQ(state.ProfileSurname + u'/' + state.ProfileClass,
                  chosen ? QString::fromUtf8(signedIn) : u"/"_s)
            << name;
        EXPECT_EQ(state.StartTime != 0.0, chosen) << name;
        delete shownExercise();
    }
}

// A name or class pasted from a spreadsheet cell or a document keeps no line break or other
// control character: the run and its report get what the box shows, within its limit.
TEST_F(WelcomeTest, ControlCharactersNeverReachTheNameOrClass)
{
    using Way = std::function<void(QLineEdit&, const QString&)>;
    const Way paste = [](QLineEdit& box, const QString& text) {
        QApplication::clipboard()->setText(text);
        box.paste();
    };
    const Way insert = &QLineEdit::insert;
    const Way set = &QLineEdit::setText;
    const QString a48(48, u'a');
    // The box, how the text gets in, the text, and what the box and the run then hold.
    const std::tuple<const char*, const char*, Way, QString, QString> cases[] = {
        {"a cell with its line break", "Jm", paste, u"Novák\r\n"_s, u"Novák"_s},
        {"a tab between words", "Jm", paste, u"Jan\tNovák"_s, u"Jan Novák"_s},
        {"two lines", "Jm", insert, u"Jan\r\n\r\nNovák"_s, u"Jan Novák"_s},
        {"a line separator", "Jm", set, u"Eva\u2028Malá"_s, u"Eva Malá"_s},
        {"controls before the name", "Jm", paste, u"\t\x7f\x1bPetr"_s, u"Petr"_s},
        {"blanks the pupil typed stay", "Jm", set, u" Jan  Novák "_s, u" Jan  Novák "_s},
        {"a tab at the limit", "Jm", paste, a48 + u"\tbc"_s, a48 + u" b"_s},
        {"a class split by a tab", "Tr", insert, u"4.\tA"_s, u"4. A"_s},
        {"a class broken at the limit", "Tr", paste, u"123456789\n0"_s, u"123456789"_s},
    };
    for (const auto& [name, box, way, typed, expected] : cases) {
        state = Data_a_promene();
        Welcome window(context);
        window.show();
        child<QRadioButton>(window, "conn1").click();
        auto& field = child<QLineEdit>(window, box);
        way(field, typed);
        EXPECT_EQ(field.text(), expected) << name;
        click(window, "Command1");
        EXPECT_EQ(QString::fromLatin1(box) == u"Jm" ? state.PupilName : state.PupilClass, expected)
            << name;
    }
}

} // namespace
} // namespace voltmetr
