#include "app/oledate.h"
#include "results/runfixture.h"
#include "results/schoolfile.h"
#include "signin/welcome.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace voltmetr {
namespace {

using testing::SchoolFile;

template <typename T> T& child(QWidget& window, const char* name)
{
    auto* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return *found;
}

QStringList entries(QWidget& window)
{
    QStringList texts;
    auto& users = child<QComboBox>(window, "Users");
    for (int i = 0; i < users.count(); ++i) {
        texts << users.itemText(i);
    }
    return texts;
}

// Which elements can be used: the profile side or the typed side.
struct Sides
{
    bool profile;
    bool typed;
};

Sides enabledSides(QWidget& window)
{
    const bool profile = child<QComboBox>(window, "Users").isEnabled() &&
                         child<QLabel>(window, "lblUsers").isEnabled();
    const bool typed =
        child<QLineEdit>(window, "Jm").isEnabled() && child<QLineEdit>(window, "Tr").isEnabled() &&
        child<QLabel>(window, "lblJm").isEnabled() && child<QLabel>(window, "lblTr").isEnabled();
    return {profile, typed};
}

class WelcomeTest : public testing::RunFixture
{
protected:
    WelcomeTest()
    {
        useDatabase(school.path());
        school.addPupil(QStringLiteral("Svoboda"), QStringLiteral("2.A"));
        school.addPupil(QStringLiteral("Novák;ml."), QStringLiteral("3.B"));
        school.addPupil(QStringLiteral("Malá"), QString());
        school.addPupil(QVariant(QMetaType::fromType<QString>()), QStringLiteral("1.C"));
        host.setClock(toOleDate(QDateTime(QDate(2026, 12, 7), QTime(8, 15, 30))));
    }

    SchoolFile school;
};

TEST_F(WelcomeTest, WithTheDatabaseTheProfilesAreListedInTableOrder)
{
    Welcome window(context);
    EXPECT_TRUE(child<QRadioButton>(window, "conn0").isChecked());
    EXPECT_TRUE(child<QRadioButton>(window, "conn0").isEnabled());
    EXPECT_EQ(entries(window),
              (QStringList{QStringLiteral("Svoboda; 2.A"), QStringLiteral("Novák;ml.; 3.B"),
                           QStringLiteral("Malá; "), QStringLiteral("; 1.C")}));
    EXPECT_TRUE(enabledSides(window).profile);
    EXPECT_FALSE(enabledSides(window).typed);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(WelcomeTest, SwitchingModesKeepsTheChoiceAndTheTypedText)
{
    Welcome window(context);
    window.show();
    child<QComboBox>(window, "Users").setCurrentIndex(2);
    child<QRadioButton>(window, "conn1").click();
    EXPECT_FALSE(enabledSides(window).profile);
    EXPECT_TRUE(enabledSides(window).typed);
    child<QLineEdit>(window, "Jm").setText(QStringLiteral("Eva"));
    child<QRadioButton>(window, "conn0").click();
    EXPECT_TRUE(enabledSides(window).profile);
    EXPECT_FALSE(enabledSides(window).typed);
    EXPECT_EQ(child<QComboBox>(window, "Users").currentIndex(), 2);
    EXPECT_EQ(child<QLineEdit>(window, "Jm").text(), QStringLiteral("Eva"));
}

TEST_F(WelcomeTest, WithoutTheDatabaseOnlyEmailModeIsOfferedSilently)
{
    useDatabase(school.folder() + QStringLiteral("/nikde/skola.sqlite"));
    Welcome window(context);
    EXPECT_FALSE(child<QRadioButton>(window, "conn0").isEnabled());
    EXPECT_TRUE(child<QRadioButton>(window, "conn1").isChecked());
    EXPECT_TRUE(entries(window).isEmpty());
    EXPECT_FALSE(enabledSides(window).profile);
    EXPECT_TRUE(enabledSides(window).typed);
    EXPECT_TRUE(host.messages.empty());
}

// A database that is there but cannot be read is named, and sign-in goes on by e-mail.
TEST_F(WelcomeTest, AnUnreadableDatabaseIsNamedAndEmailModeGoesOn)
{
    const struct
    {
        const char* name;
        std::function<QString(SchoolFile&)> prepare; // returns the path to use
    } cases[] = {
        {"pupils table missing",
         [](SchoolFile& f) {
             f.exec(QStringLiteral("DROP TABLE \"Zaci\""));
             return f.path();
         }},
        {"class field missing",
         [](SchoolFile& f) {
             f.exec(QStringLiteral("ALTER TABLE \"Zaci\" DROP COLUMN \"Trida\""));
             return f.path();
         }},
        {"not a database",
         [](SchoolFile& f) {
             const QString path = f.folder() + QStringLiteral("/skola-poskozena.sqlite");
             QFile file(path);
             EXPECT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(QByteArray(2048, '\x7f'));
             return path;
         }},
        {"a folder", [](SchoolFile& f) { return f.folder(); }},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        file.addPupil(QStringLiteral("Malá"), QStringLiteral("1.A"));
        const QString path = c.prepare(file);
        useDatabase(path);
        host.messages.clear();
        Welcome window(context);
        ASSERT_EQ(host.messages.size(), 1u) << c.name;
        EXPECT_EQ(host.messages[0].style, MessageStyle::OkCritical) << c.name;
        EXPECT_TRUE(host.messages[0].prompt.startsWith(
            QStringLiteral("Školní databázi se nepodařilo přečíst:\n") + path + u'\n'))
            << c.name;
        EXPECT_FALSE(child<QRadioButton>(window, "conn0").isEnabled()) << c.name;
        EXPECT_TRUE(child<QRadioButton>(window, "conn1").isChecked()) << c.name;
        EXPECT_TRUE(entries(window).isEmpty()) << c.name;
        EXPECT_TRUE(enabledSides(window).typed) << c.name;
    }
}

TEST_F(WelcomeTest, AnEmptyPupilsTableOffersAnEmptyListAndOkOnlyBeeps)
{
    SchoolFile empty;
    useDatabase(empty.path());
    Welcome window(context);
    window.show();
    EXPECT_TRUE(child<QRadioButton>(window, "conn0").isChecked());
    EXPECT_TRUE(entries(window).isEmpty());
    click(window, "Command1");
    EXPECT_EQ(host.beeps, 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(shownExercise(), nullptr);
    EXPECT_TRUE(state.ProfileSurname.isEmpty());
    EXPECT_EQ(state.StartTime, 0.0);
}

TEST_F(WelcomeTest, AChosenProfileStartsTheExerciseInSchoolMode)
{
    const struct
    {
        const char* name;
        int index;
        const char* surname;
        const char* className;
    } cases[] = {
        {"plain", 0, "Svoboda", "2.A"},
        {"semicolon in the surname", 1, "Novák", "3.B"},
        {"empty class", 2, "Malá", ""},
        {"empty surname", 3, "", "1.C"},
    };
    for (const auto& c : cases) {
        state = Data_a_promene();
        Welcome window(context);
        window.show();
        child<QComboBox>(window, "Users").setCurrentIndex(c.index);
        click(window, "Command1");
        EXPECT_FALSE(state.EmailMode) << c.name;
        EXPECT_EQ(state.ProfileSurname, QString::fromUtf8(c.surname)) << c.name;
        EXPECT_EQ(state.ProfileClass, QString::fromUtf8(c.className)) << c.name;
        EXPECT_NEAR(state.StartTime, (8 * 3600 + 15 * 60 + 30) / 86400.0, 1e-9) << c.name;
        EXPECT_TRUE(state.PupilName.isEmpty()) << c.name;
        EXPECT_EQ(state.StartDateTime, 0.0) << c.name;
        EXPECT_TRUE(coder.GetReportText().isEmpty()) << c.name << ": no coder in school mode";
        EXPECT_FALSE(window.isVisible()) << c.name;
        QWidget* exercise = shownExercise();
        ASSERT_NE(exercise, nullptr) << c.name;
        delete exercise;
    }
}

TEST_F(WelcomeTest, TypedNameAndClassStartTheExerciseInEmailMode)
{
    const struct
    {
        const char* name;
        const char* pupil;
        const char* className;
    } cases[] = {
        {"typed", "Eva Šťastná", "1.A"},
        {"both empty", "", ""},
    };
    for (const auto& c : cases) {
        state = Data_a_promene();
        host.queueRandom({0.5f});
        Welcome window(context);
        window.show();
        child<QRadioButton>(window, "conn1").click();
        child<QLineEdit>(window, "Jm").setText(QString::fromUtf8(c.pupil));
        child<QLineEdit>(window, "Tr").setText(QString::fromUtf8(c.className));
        QTest::keyClick(&child<QLineEdit>(window, "Tr"), Qt::Key_Return);
        EXPECT_TRUE(state.EmailMode) << c.name;
        EXPECT_EQ(state.PupilName, QString::fromUtf8(c.pupil)) << c.name;
        EXPECT_EQ(state.PupilClass, QString::fromUtf8(c.className)) << c.name;
        EXPECT_DOUBLE_EQ(state.StartDateTime, host.now()) << c.name;
        EXPECT_TRUE(state.ProfileSurname.isEmpty()) << c.name;
        EXPECT_EQ(state.StartTime, 0.0) << c.name;
        EXPECT_EQ(coder.GetReportText(), QStringLiteral("4b 80 ")) << c.name;
        QWidget* exercise = shownExercise();
        ASSERT_NE(exercise, nullptr) << c.name;
        delete exercise;
    }
}

TEST_F(WelcomeTest, ZrusAndTheDesktopsCloseEndTheProgramWritingNothing)
{
    const struct
    {
        const char* name;
        std::function<void(Welcome&)> leave;
    } cases[] = {
        {"Zruš", [](Welcome& w) { click(w, "Command2"); }},
        {"closed from the desktop", [](Welcome& w) { w.close(); }},
    };
    for (const auto& c : cases) {
        host.ended = false;
        Welcome window(context);
        window.show();
        child<QComboBox>(window, "Users").setCurrentIndex(0);
        c.leave(window);
        EXPECT_TRUE(host.ended) << c.name;
        EXPECT_TRUE(state.ProfileSurname.isEmpty()) << c.name;
        EXPECT_EQ(shownExercise(), nullptr) << c.name;
    }
    EXPECT_TRUE(school.resultRows().empty());
}

TEST_F(WelcomeTest, EscDoesNothing)
{
    Welcome window(context);
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(host.ended);
}

TEST_F(WelcomeTest, OProgramuShowsTheAboutBoxAndComesBackUnchanged)
{
    Welcome window(context);
    window.show();
    child<QComboBox>(window, "Users").setCurrentIndex(1);
    host.onNextModal([](QDialog& about) { click(about, "Command1"); });
    click(window, "Command3");
    ASSERT_EQ(host.modalTitles.size(), 1u);
    EXPECT_EQ(host.modalTitles[0], QStringLiteral("Informace"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(child<QComboBox>(window, "Users").currentIndex(), 1);
}

TEST_F(WelcomeTest, EveryCaptionFitsItsElement)
{
    Welcome window(context);
    window.show();
    EXPECT_EQ(clippedCaptions(window), QStringList());
}

} // namespace
} // namespace voltmetr
