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

// The window offers the pupils the sign-in logic found, and the chosen mode enables its side.
TEST_F(WelcomeTest, TheChosenModeEnablesItsSide)
{
    // The option clicked, and what is enabled and chosen.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"pupils read", nullptr, "conn0 conn1 lblUsers Users | school, 2"},
        {"pupils read, e-mail chosen", "conn1", "conn0 conn1 lblJm Jm lblTr Tr | 2"},
    };
    for (const auto& [name, clicked, shown] : cases) {
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

// What is pasted into the name and class boxes is kept as the sign-in text rule has it, within
// each box's limit, and the run gets what the boxes show.
TEST_F(WelcomeTest, ControlCharactersNeverReachTheNameOrClass)
{
    Welcome window(context);
    window.show();
    child<QRadioButton>(window, "conn1").click();
    const QString a48(48, u'a');
    for (const auto& [box, text] :
         {std::pair("Jm", a48 + u"\tbc"_s), std::pair("Tr", u"123456789\n0"_s)}) {
        QApplication::clipboard()->setText(text);
        child<QLineEdit>(window, box).paste();
    }
    const QStringList shown{child<QLineEdit>(window, "Jm").text(),
                            child<QLineEdit>(window, "Tr").text()};
    click(window, "Command1");
    EXPECT_EQ(shown, (QStringList{a48 + u" b"_s, u"123456789"_s}));
    EXPECT_EQ(shown, (QStringList{state.PupilName, state.PupilClass}));
}

} // namespace
} // namespace voltmetr
