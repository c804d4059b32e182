#include "results/windowfixture.h"
#include "signin/welcome.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace voltmetr {
namespace {

using testing::SchoolFile;

class WelcomeTest : public testing::WindowFixture
{
protected:
    WelcomeTest()
    {
        school.addPupil(QStringLiteral("Svoboda"), QStringLiteral("2.A"));
        school.addPupil(QStringLiteral("Novák;ml."), QStringLiteral("3.B"));
        school.addPupil(QStringLiteral("Malá"), QVariant(QMetaType::fromType<QString>()));
        school.addPupil(QVariant(QMetaType::fromType<QString>()), QStringLiteral("1.C"));
        host.setClock(46363 + (8 * 3600 + 15 * 60 + 30) / 86400.0); // 08:15:30
    }

    template <typename T> static T& child(QWidget& window, const char* name)
    {
        auto* found = window.findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            throw std::runtime_error(name);
        }
        return *found;
    }

    // The modes on offer, the chosen one, the profiles, and which side can be typed into.
    static QString shape(QWidget& window)
    {
        const auto& users = child<QComboBox>(window, "Users");
        QStringList entries;
        for (int i = 0; i < users.count(); ++i) {
            entries << users.itemText(i);
        }
        return QStringLiteral("%1 %2 [%3] %4")
            .arg(child<QRadioButton>(window, "conn0").isEnabled() ? u"both" : u"e-mail only",
                 child<QRadioButton>(window, "conn0").isChecked() ? u"school" : u"e-mail",
                 entries.join(u'|'),
                 users.isEnabled() && !child<QLineEdit>(window, "Jm").isEnabled() ? u"profile"
                                                                                  : u"typed");
    }
};

TEST_F(WelcomeTest, WithTheDatabaseItsPupilsAreListedInTableOrderNullAsEmpty)
{
    Welcome window(context);
    EXPECT_EQ(shape(window), QStringLiteral("both school [Svoboda; 2.A|Novák;ml.; 3.B|Malá; |; "
                                            "1.C] profile"));
    EXPECT_TRUE(host.messages.empty());
}

// Without a readable database only e-mail mode is offered; a file that is there but cannot be
// read is named, and sign-in goes on by e-mail.
TEST_F(WelcomeTest, WithoutAReadableDatabaseOnlyEmailModeIsOffered)
{
    const struct
    {
        const char* name;
        std::function<QString(SchoolFile&)> prepare; // the path to use
        bool named;
    } cases[] = {
        {"missing", [](SchoolFile& f) { return f.folder() + QStringLiteral("/nikde.sqlite"); },
         false},
        {"class field missing",
         [](SchoolFile& f) {
             f.exec(QStringLiteral("ALTER TABLE \"Zaci\" DROP COLUMN \"Trida\""));
             return f.path();
         },
         true},
        {"not a database",
         [](SchoolFile& f) {
             QFile file(f.folder() + QStringLiteral("/poskozena.sqlite"));
             EXPECT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(QByteArray(2048, '\x7f'));
             return file.fileName();
         },
         true},
        {"a folder", [](SchoolFile& f) { return f.folder(); }, true},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        file.addPupil(QStringLiteral("Malá"), QStringLiteral("1.A"));
        const QString path = c.prepare(file);
        useDatabase(path);
        host.messages.clear();
        Welcome window(context);
        EXPECT_EQ(shape(window), QStringLiteral("e-mail only e-mail [] typed")) << c.name;
        ASSERT_EQ(host.messages.size(), c.named ? 1u : 0u) << c.name;
        if (c.named) {
            EXPECT_EQ(host.messages[0].style, MessageStyle::OkCritical) << c.name;
            EXPECT_TRUE(host.messages[0].prompt.startsWith(
                QStringLiteral("Školní databázi se nepodařilo přečíst:\n") + path + u'\n'))
                << c.name;
        }
    }
}

TEST_F(WelcomeTest, AnEmptyPupilsTableOffersAnEmptyListWhereOkOnlyBeeps)
{
    SchoolFile empty;
    useDatabase(empty.path());
    Welcome window(context);
    window.show();
    EXPECT_EQ(shape(window), QStringLiteral("both school [] profile"));
    click(window, "Command1");
    EXPECT_EQ(host.beeps, 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(shownExercise(), nullptr);
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
        {"a semicolon in the surname", 1, "Novák", "3.B"},
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
        EXPECT_TRUE(coder.GetReportText().isEmpty()) << c.name << ": no coder in school mode";
        EXPECT_FALSE(window.isVisible()) << c.name;
        delete shownExercise();
    }
}

TEST_F(WelcomeTest, TypedNameAndClassStartTheExerciseInEmailMode)
{
    host.queueRandom({0.5f});
    Welcome window(context);
    window.show();
    child<QRadioButton>(window, "conn1").click();
    child<QLineEdit>(window, "Jm").setText(QStringLiteral("Eva Šťastná"));
    child<QLineEdit>(window, "Tr").setText(QStringLiteral("1.A"));
    QTest::keyClick(&child<QLineEdit>(window, "Tr"), Qt::Key_Return);
    EXPECT_TRUE(state.EmailMode);
    EXPECT_EQ(state.PupilName, QStringLiteral("Eva Šťastná"));
    EXPECT_EQ(state.PupilClass, QStringLiteral("1.A"));
    EXPECT_DOUBLE_EQ(state.StartDateTime, host.now());
    EXPECT_EQ(coder.GetReportText(), QStringLiteral("4b 80 "));
    EXPECT_NE(shownExercise(), nullptr);
}

TEST_F(WelcomeTest, ZrusAndTheDesktopsCloseEndTheProgramEscDoesNothing)
{
    const struct
    {
        const char* name;
        std::function<void(Welcome&)> press;
        bool ends;
    } cases[] = {
        {"Esc", [](Welcome& w) { QTest::keyClick(&w, Qt::Key_Escape); }, false},
        {"Zruš", [](Welcome& w) { click(w, "Command2"); }, true},
        {"closed from the desktop", [](Welcome& w) { w.close(); }, true},
    };
    for (const auto& c : cases) {
        host.ended = false;
        Welcome window(context);
        window.show();
        c.press(window);
        EXPECT_EQ(host.ended, c.ends) << c.name;
        EXPECT_TRUE(window.isVisible()) << c.name << ": only the program's end closes it";
        EXPECT_TRUE(state.ProfileSurname.isEmpty()) << c.name;
        EXPECT_EQ(shownExercise(), nullptr) << c.name;
    }
}

} // namespace
} // namespace voltmetr
