#include "signin/welcome.h"
#include "support/windowfixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

class WelcomeTest : public testing::WindowFixture
{
protected:
    WelcomeTest()
    {
        school.addPupil(u"Svoboda"_s, u"2.A"_s);
        school.addPupil(u"Novák;ml."_s, u"3.B"_s);
    }
};

// The window offers what the sign-in logic found, and the chosen mode enables its own side.
TEST_F(WelcomeTest, TheChosenModeEnablesItsSide)
{
    // The database, the option then clicked, and what is enabled and chosen.
    const std::tuple<const char*, QString, const char*, const char*> cases[] = {
        {"pupils read", school.path(), nullptr, "conn0 conn1 lblUsers Users | school, 2"},
        {"pupils read, e-mail chosen", school.path(), "conn1", "conn0 conn1 lblJm Jm lblTr Tr | 2"},
        {"no database", school.folder() + u"/nikde.sqlite"_s, nullptr,
         "conn1 lblJm Jm lblTr Tr | 0"},
    };
    for (const auto& [name, database, clicked, shown] : cases) {
        useDatabase(database);
        Welcome window(context);
        window.show();
        if (clicked) {
            child<QRadioButton>(window, clicked).click();
        }
        QStringList enabled;
        for (const char* element :
             {"conn0", "conn1", "lblUsers", "Users", "lblJm", "Jm", "lblTr", "Tr"}) {
            if (child<QWidget>(window, element).isEnabled()) {
                enabled << QString::fromLatin1(element);
            }
        }
        const bool schoolChosen = child<QRadioButton>(window, "conn0").isChecked();
        EXPECT_EQ(enabled.join(u' ') + (schoolChosen ? u" | school, %1"_s : u" | %1"_s)
                                           .arg(child<QComboBox>(window, "Users").count()),
                  QString::fromLatin1(shown))
            << name;
    }
}

// Nobody is chosen as the sign-in opens: Enter then only beeps. The profile the pupil chooses by
// keyboard is the one signed in.
TEST_F(WelcomeTest, NobodyIsSignedInUntilThePupilChoosesAProfile)
{
    // Keys pressed, each to whatever has the focus, and the pupil then signed in.
    const std::tuple<std::vector<QKeyCombination>, const char*> cases[] = {
        {{Qt::Key_Return}, nullptr},
        {{Qt::ALT | Qt::Key_V, Qt::Key_End, Qt::Key_Return}, "Novák/3.B"},
    };
    for (const auto& [keys, signedIn] : cases) {
        host.beeps = 0;
        Welcome window(context);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_EQ(child<QComboBox>(window, "Users").currentText(), QString());
        for (const QKeyCombination k : keys) {
            QTest::keyClick(QApplication::focusWidget(), k.key(), k.keyboardModifiers());
        }
        const bool chosen = signedIn != nullptr;
        EXPECT_EQ(std::tuple(host.beeps, shownExercise() != nullptr, window.isVisible(),
                             state.ProfileSurname + u'/' + state.ProfileClass),
                  std::tuple(chosen ? 0 : 1, chosen, !chosen,
                             QString::fromUtf8(signedIn ? signedIn : "/")));
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
        {"two lines", "Jm", insert, u"Jan\r\n\r\nNovák"_s, u"Jan Novák"_s},
        {"a line separator", "Jm", set, u"Eva\u2028Malá"_s, u"Eva Malá"_s},
        {"controls before the name", "Jm", paste, u"\t\x7f\x1bPetr"_s, u"Petr"_s},
        {"a tab at the limit", "Jm", paste, a48 + u"\tbc"_s, a48 + u" b"_s},
        {"a class broken at the limit", "Tr", paste, u"123456789\n0"_s, u"123456789"_s},
    };
    for (const auto& [name, box, way, typed, expected] : cases) {
        Welcome window(context);
        window.show();
        child<QRadioButton>(window, "conn1").click();
        auto& field = child<QLineEdit>(window, box);
        way(field, typed);
        click(window, "Command1");
        EXPECT_EQ(std::pair(field.text(), *box == 'J' ? state.PupilName : state.PupilClass),
                  std::pair(expected, expected))
            << name;
    }
}

} // namespace
} // namespace voltmetr
