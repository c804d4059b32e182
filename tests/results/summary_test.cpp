// The end of a run through the real windows: from sign-in through the exercise and the exit
// confirmation to the summary and the report window.
#include "results/genlist.h"
#include "signin/welcome.h"
#include "support/windowfixture.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

using EndOfRun = testing::WindowFixture;

// Signed in by name, the pupil leaves through "Konec" and "Ano"; the summary opens the report
// window, where the pupil copies the report, cancels the save dialog, picks a folder that is not
// there and is told why, then saves over an earlier run's longer file. No database is touched.
TEST_F(EndOfRun, EmailRunFromTypedNameToClipboardAndFile)
{
    const QString missing = school.folder() + u"/neni/Vysledky.txt"_s;
    QFile file(school.folder() + u"/Vysledky.txt"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(2000, 'z')) == 2000);
    file.close();
    Welcome welcome(context);
    welcome.show();
    child<QRadioButton>(welcome, "conn1").click();
    child<QLineEdit>(welcome, "Jm").setText(u"Eva Šťastná"_s);
    click(welcome, "Command1");
    ASSERT_NE(shownExercise(), nullptr);
    QString totals;
    host.onNextModal([](QDialog& question) { click(question, "Command1"); });
    host.onNextModal([&](QDialog& summary) {
        totals = captions(summary, "Celk");
        click(summary, "Command1");
    });
    host.onNextModal([&](QDialog& report) {
        click(report, "clipbrd");
        for (const auto& answer :
             {std::optional<QString>(), std::optional(missing), std::optional(file.fileName())}) {
            host.answerNextSaveDialog(answer);
            click(report, "txtfile");
        }
        click(report, "final");
    });
    shownExercise()->Command3_Click();
    EXPECT_TRUE(host.ended);
    EXPECT_EQ(totals, QStringList(3, u"není k dispozici"_s).join(u'|'));
    EXPECT_EQ(school.resultRows().size(), 0u);
    ASSERT_EQ(host.messages.size(), 1u) << "the failed save";
    EXPECT_TRUE(host.messages[0].prompt.startsWith(
        u"Soubor se nepodařilo uložit:\n%1\n\nDůvod: složka nebo soubor neexistuje\n"_s.arg(
            missing)));
    EXPECT_TRUE(host.clipboard.startsWith(u"4b "_s));
    EXPECT_EQ(host.clipboard, coder.GetReportText());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), host.clipboard.toLatin1() + "\r\n");
}

// Another computer holds the database while the summary opens: the window is there at once,
// says it is storing, and neither Enter nor Esc leaves it until the row is stored; then its OK
// ends the program.
TEST_F(EndOfRun, TheSummaryShowsAtOnceAndWaitsForTheSaveBeforeItsOk)
{
    school.addResult(u"Novák"_s, 10, 2);
    state.ProfileSurname = u"Novák"_s;
    state.RightCount = 3;
    state.WrongCount = 1;
    school.exec(u"BEGIN IMMEDIATE"_s);
    Souhrn window(context);
    window.show();
    EXPECT_EQ(captions(window, "Dnes") + u'|' + captions(window, "Celk"),
              u" 4 příklady| 3 příklady| 1 příklad|ukládám…|ukládám…|ukládám…"_s);
    EXPECT_FALSE(child(window, "Command1").isEnabled());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(&window, key);
        EXPECT_TRUE(window.isVisible()) << key;
    }
    EXPECT_FALSE(host.ended);
    school.exec(u"ROLLBACK"_s);
    awaitSave(window);
    EXPECT_EQ(captions(window, "Celk"), u" 16 příkladů| 13 příkladů| 3 příklady"_s);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(host.ended);
}

} // namespace
} // namespace voltmetr
