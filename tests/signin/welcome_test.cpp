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
        const QVariant null(QMetaType::fromType<QString>());
        school.addPupil(QStringLiteral("Svoboda"), QStringLiteral("2.A"));
        school.addPupil(QStringLiteral("Novák;ml."), QStringLiteral("3.B"));
        school.addPupil(QStringLiteral("Malá"), null);
        school.addPupil(null, QStringLiteral("1.C"));
        host.setClock(46363.25); // 06:00
    }

    // The modes on offer, the chosen one, the profiles listed, and the side that is enabled.
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

// A file that is there but cannot be read is named, and sign-in goes on by e-mail.
TEST_F(WelcomeTest, TheDatabaseDecidesTheModesOnOffer)
{
    const struct
    {
        const char* name;
        std::function<QString(SchoolFile&)> database;
        const char* shape;
        bool named;
    } cases[] = {
        {"present: its pupils in table order, NULL as empty",
         [this](SchoolFile&) { return school.path(); },
         "both school [Svoboda; 2.A|Novák;ml.; 3.B|Malá; |; 1.C] profile", false},
        {"present with no pupils", [](SchoolFile& f) { return f.path(); }, "both school [] profile",
         false},
        {"missing", [](SchoolFile& f) { return f.folder() + QStringLiteral("/nikde.sqlite"); },
         "e-mail only e-mail [] typed", false},
        {"class field missing",
         [](SchoolFile& f) {
             f.exec(QStringLiteral("ALTER TABLE Zaci DROP COLUMN Trida"));
             return f.path();
         },
         "e-mail only e-mail [] typed", true},
        {"not a database",
         [](SchoolFile& f) {
             QFile file(f.folder() + QStringLiteral("/poskozena.sqlite"));
             EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(2048, 'x')));
             return file.fileName();
         },
         "e-mail only e-mail [] typed", true},
        {"a folder", [](SchoolFile& f) { return f.folder(); }, "e-mail only e-mail [] typed", true},
    };
    for (const auto& c : cases) {
        SchoolFile other;
        const QString path = c.database(other);
        useDatabase(path);
        host.messages.clear();
        Welcome window(context);
        EXPECT_EQ(shape(window), QString::fromUtf8(c.shape)) << c.name;
        ASSERT_EQ(host.messages.size(), c.named ? 1u : 0u) << c.name;
        if (c.named) {
            EXPECT_TRUE(host.messages[0].prompt.startsWith(
                QStringLiteral("Školní databázi se nepodařilo přečíst:\n") + path + u'\n'))
                << c.name;
        }
    }
}

TEST_F(WelcomeTest, AChosenProfileStartsTheExerciseInSchoolModeAnEmptyListOnlyBeeps)
{
    const struct
    {
        const char* name;
        int index;
        const char* surname;
        const char* className;
    } cases[] = {
        {"nothing to choose", -1, "", ""},
        {"a semicolon in the surname", 1, "Novák", "3.B"},
        {"empty class", 2, "Malá", ""},
        {"empty surname", 3, "", "1.C"},
    };
    for (const auto& c : cases) {
        state = Data_a_promene();
        host.beeps = 0;
        Welcome window(context);
        window.show();
        child<QComboBox>(window, "Users").setCurrentIndex(c.index);
        click(window, "Command1");
        EXPECT_EQ(host.beeps, c.index < 0 ? 1 : 0) << c.name;
        EXPECT_EQ(window.isVisible(), c.index < 0) << c.name;
        EXPECT_EQ(shownExercise() != nullptr, c.index >= 0) << c.name;
        EXPECT_EQ(state.ProfileSurname, QString::fromUtf8(c.surname)) << c.name;
        EXPECT_EQ(state.ProfileClass, QString::fromUtf8(c.className)) << c.name;
        EXPECT_EQ(state.StartTime, c.index < 0 ? 0 : 0.25) << c.name;
        EXPECT_TRUE(coder.GetReportText().isEmpty()) << c.name << ": no coder in school mode";
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
    EXPECT_EQ(state.PupilName + u'/' + state.PupilClass, QStringLiteral("Eva Šťastná/1.A"));
    EXPECT_EQ(state.StartDateTime, 46363.25);
    EXPECT_EQ(coder.GetReportText(), QStringLiteral("4b 80 "));
    EXPECT_NE(shownExercise(), nullptr);
}

} // namespace
} // namespace voltmetr
