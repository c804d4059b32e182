#include "school/schoolsettings.h"
#include "signin/welcome.h"
#include "support/windowfixture.h"
#include "ui/info.h"

#include <QDir>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

// The school's settings file in a system configuration folder of the test's own.
class SchoolSettingsWindows : public testing::WindowFixture
{
protected:
    SchoolSettingsWindows()
    {
        qputenv("XDG_CONFIG_DIRS", folder.path().toUtf8());
        QDir(folder.path()).mkpath(u"voltmetr"_s);
    }
    ~SchoolSettingsWindows() override { qunsetenv("XDG_CONFIG_DIRS"); }

    QString writeSettings(const QString& contents)
    {
        QFile file(settingsPath());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents.toUtf8());
        return settingsPath();
    }
    QString settingsPath() const { return folder.filePath(u"voltmetr/voltmetr.conf"_s); }

    QTemporaryDir folder;
};

// The about box shows the school's address where the built-in one stood, opens a mail to it, and
// keeps its layout: a longer address grows to the left, never past the box's margin.
TEST_F(SchoolSettingsWindows, TheAboutBoxShowsTheSchoolsAddress)
{
    const std::tuple<const char*, QString, QString> cases[] = {
        {"none set", u"[skola]\n"_s, u"voltmetr@example.cz"_s},
        {"the school's", u"[skola]\nkontakt=fyzika@spslipova.cz\n"_s, u"fyzika@spslipova.cz"_s},
        {"a long one", u"[skola]\nkontakt=ucitel.elektrotechniky@stredni-skola-lipova.cz\n"_s,
         u"ucitel.elektrotechniky@stredni-skola-lipova.cz"_s},
        {"a file that cannot be used", u"[skola]\nkontakt=nikdo\n"_s, u"voltmetr@example.cz"_s},
    };
    for (const auto& [name, settings, address] : cases) {
        writeSettings(settings);
        host.openedLinks.clear();
        info about(context);
        about.show();
        auto& label = child<QLabel>(about, "Label6");
        EXPECT_EQ(label.text(), address) << name;
        EXPECT_EQ(label.accessibleName(), u"Napsat e-mail: "_s + address) << name;
        EXPECT_EQ(label.geometry().right(), 260) << name << ": the right edge stays";
        EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance(address)) << name;
        EXPECT_GE(label.x(), 8) << name << ": within the margin";
        label.setFocus();
        QTest::keyClick(&label, Qt::Key_Return);
        EXPECT_EQ(host.openedLinks, std::vector<QString>{u"mailto:"_s + address}) << name;
    }
}

// A settings file that cannot be used is named at sign-in, and the pupil signs in by name and
// class rather than against a database the school did not choose. VOLTMETR_DB still wins.
TEST_F(SchoolSettingsWindows, SignInNamesAnUnusableSettingsFile)
{
    writeSettings(u"[skola]\ndatabse="_s + school.path() + u'\n');
    qunsetenv("VOLTMETR_DB");
    {
        Welcome window(context);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].title, u"Nastavení školy"_s);
        EXPECT_TRUE(host.messages[0].prompt.startsWith(u"Nastavení programu v souboru "_s +
                                                       settingsPath() + u" nelze použít: "_s))
            << host.messages[0].prompt.toStdString();
        EXPECT_TRUE(
            host.messages[0].prompt.endsWith(u"Přihlas se jménem a třídou, výsledek pak "
                                             u"předáš vyučujícímu jako zakódovanou zprávu."_s));
        EXPECT_FALSE(child<QRadioButton>(window, "conn0").isEnabled());
        EXPECT_TRUE(child<QRadioButton>(window, "conn1").isChecked());
    }
    host.messages.clear();
    writeSettings(u"[skola]\ndatabaze="_s + school.path() + u'\n');
    {
        Welcome window(context);
        EXPECT_TRUE(host.messages.empty()) << "the file's database is used";
        EXPECT_TRUE(child<QRadioButton>(window, "conn0").isChecked());
    }
    writeSettings(u"[skola]\ndatabse=x\n"_s);
    useDatabase(school.path());
    {
        Welcome window(context);
        EXPECT_TRUE(host.messages.empty()) << "the environment needs no settings file";
        EXPECT_TRUE(child<QRadioButton>(window, "conn0").isChecked());
    }
}

} // namespace
} // namespace voltmetr
