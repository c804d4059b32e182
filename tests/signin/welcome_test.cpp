#include "results/windowfixture.h"
#include "signin/welcome.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

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
    const QString emailOnly = QStringLiteral("e-mail only e-mail [] typed");
    SchoolFile other;
    const std::tuple<const char*, std::function<QString()>, QString, bool> cases[] = {
        {"present: its pupils in table order, NULL as empty", [&] { return school.path(); },
         QStringLiteral("both school [Svoboda; 2.A|Novák;ml.; 3.B|Malá; |; 1.C] profile"), false},
        {"present with no pupils", [&] { return other.path(); },
         QStringLiteral("both school [] profile"), false},
        {"missing", [&] { return other.folder() + QStringLiteral("/nikde.sqlite"); }, emailOnly,
         false},
        {"not a database", [] { return QCoreApplication::applicationFilePath(); }, emailOnly, true},
        {"class field missing",
         [&] {
             other.exec(QStringLiteral("ALTER TABLE Zaci DROP COLUMN Trida"));
             return other.path();
         },
         emailOnly, true},
    };
    for (const auto& [name, database, expectedShape, named] : cases) {
        const QString path = database();
        useDatabase(path);
        host.messages.clear();
        Welcome window(context);
        EXPECT_EQ(shape(window), expectedShape) << name;
        ASSERT_EQ(host.messages.size(), named ? 1u : 0u) << name;
        EXPECT_TRUE(!named ||
                    host.messages[0].prompt.startsWith(
                        QStringLiteral("Školní databázi se nepodařilo přečíst:\n") + path))
            << name;
    }
}

// Choosing a profile starts the exercise in school mode; with nothing chosen OK only beeps.
TEST_F(WelcomeTest, AChosenProfileStartsTheExerciseInSchoolMode)
{
    const std::pair<int, const char*> cases[] = {
        {-1, "/"}, {1, "Novák/3.B"}, {2, "Malá/"}, {3, "/1.C"}};
    for (const auto& [index, profile] : cases) {
        state = Data_a_promene();
        host.beeps = 0;
        Welcome window(context);
        window.show();
        child<QComboBox>(window, "Users").setCurrentIndex(index);
        click(window, "Command1");
        EXPECT_EQ(state.ProfileSurname + u'/' + state.ProfileClass, QString::fromUtf8(profile));
        EXPECT_EQ(host.beeps, index < 0 ? 1 : 0) << profile;
        EXPECT_EQ(shownExercise() != nullptr, index >= 0) << profile;
        delete shownExercise();
    }
}

} // namespace
} // namespace voltmetr
