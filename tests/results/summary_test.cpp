// The end of a run through the real windows: from sign-in through the exercise and the exit
// confirmation to the summary and the report window.
#include "results/genlist.h"
#include "signin/welcome.h"
#include "support/windowfixture.h"

#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

const QString notAvailable = u"není k dispozici|není k dispozici|není k dispozici"_s;

class EndOfRun : public testing::WindowFixture
{
protected:
    EndOfRun()
    {
        school.addPupil(u"Novák"_s, u"3.B"_s);
        school.addResult(u"Novák"_s, 10, 2); // last week
    }

    // Signs in, counts one right and one wrong answer as the exercise does, and leaves through
    // "Konec" and "Ano"; then the summary's counts, today's and all-time, before its OK, which
    // opens the report window that inReport is handed when the run is handed out.
    QString run(const std::function<void(Welcome&)>& signIn,
                testing::ScriptedHost::ModalScript inReport = {})
    {
        Welcome welcome(context);
        welcome.show();
        signIn(welcome);
        Zkouseni* exercise = shownExercise();
        if (exercise == nullptr) {
            throw std::runtime_error("no exercise window");
        }
        state.RightCount = state.WrongCount = 1;
        QString counts;
        host.onNextModal([](QDialog& question) { click(question, "Command1"); });
        host.onNextModal([&](QDialog& summary) {
            awaitSave(summary);
            counts = captions(summary, "Dnes") + u'|' + captions(summary, "Celk");
            if (inReport) {
                host.onNextModal(inReport);
            }
            click(summary, "Command1");
        });
        exercise->Command3_Click();
        EXPECT_TRUE(host.ended);
        return counts;
    }
};

// A profile's run is stored and the summary shows the surname's totals; when the database is
// gone by the end, the pupil is told and hands the run out in the report window.
TEST_F(EndOfRun, SchoolServerRunEndsStoredOrInTheReport)
{
    for (const bool gone : {false, true}) {
        const QString counts = run(
            [&](Welcome& welcome) {
                child<QComboBox>(welcome, "Users").setCurrentIndex(0);
                click(welcome, "Command1");
                if (gone) {
                    QFile::remove(school.path());
                }
            },
            gone ? [](QDialog& report) { click(report, "final"); }
                 : testing::ScriptedHost::ModalScript());
        EXPECT_EQ(counts, u" 2 příklady| 1 příklad| 1 příklad|"_s +
                              (gone ? notAvailable : u" 14 příkladů| 11 příkladů| 3 příklady"_s));
        EXPECT_EQ(std::pair(host.modalTitles.back(), host.messages.size()),
                  std::pair(gone ? u"Generované informace pro vyučujícího"_s : u"Souhrn"_s,
                            std::size_t{gone}));
        host.ended = false;
    }
}

// The pupil copies the report, cancels the save dialog, picks a folder that is not there and is
// told why, then saves over an earlier run's longer file; the database is not touched.
TEST_F(EndOfRun, EmailRunFromTypedNameToClipboardAndFile)
{
    const QString missing = school.folder() + u"/neni/Vysledky.txt"_s;
    QFile file(school.folder() + u"/Vysledky.txt"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(2000, 'z')) == 2000);
    file.close();
    const auto typeEva = [](Welcome& welcome) {
        child<QRadioButton>(welcome, "conn1").click();
        child<QLineEdit>(welcome, "Jm").setText(u"Eva Šťastná"_s);
        click(welcome, "Command1");
    };
    const QString counts = run(typeEva, [&](QDialog& report) {
        click(report, "clipbrd");
        for (const auto& answer :
             {std::optional<QString>(), std::optional(missing), std::optional(file.fileName())}) {
            host.answerNextSaveDialog(answer);
            click(report, "txtfile");
        }
        click(report, "final");
    });
    EXPECT_TRUE(counts.endsWith(notAvailable));
    EXPECT_EQ(school.resultRows().size(), 1u);
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
// says it is storing, and neither Enter nor Esc leaves it until the row is stored.
TEST_F(EndOfRun, TheSummaryShowsAtOnceAndWaitsForTheSaveBeforeItsOk)
{
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

// A report long enough for the vertical scroll bar: every line of ten tokens shows whole beside
// that bar, in a monospaced face still large enough for a pupil to read at a glance.
TEST_F(EndOfRun, EveryReportLineShowsWholeInTheBox)
{
    coder.InitReportCoder();
    coder.AppendEncoded(u"Student: Jan Novák\r\nTřída: 3.B\r\n"_s.repeated(8));
    GenList window(context);
    window.show();
    QApplication::processEvents();
    auto& box = child<QPlainTextEdit>(window, "data");
    EXPECT_EQ(QFontInfo(box.font()).family(), u"Liberation Mono"_s);
    EXPECT_GE(box.font().pointSizeF(), 9.5);
    ASSERT_TRUE(box.verticalScrollBar()->isVisible()) << "the report is too short to test";
    const double room = box.viewport()->width() - 2 * box.document()->documentMargin();
    EXPECT_LE(QFontMetricsF(box.font(), &box).horizontalAdvance(u"xx "_s.repeated(10)), room);
    EXPECT_EQ(box.horizontalScrollBar()->maximum(), 0);
}

} // namespace
} // namespace voltmetr
