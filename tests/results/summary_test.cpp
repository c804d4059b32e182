// The end of a run through the real windows: from sign-in through the exercise and the exit
// confirmation to the summary and the report window.
#include "app/oledate.h"
#include "report/reportkey.h"
#include "results/genlist.h"
#include "results/souhrn.h"
#include "signin/welcome.h"
#include "support/windowfixture.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

double at(int day, int hour, int minute)
{
    return toOleDate(QDateTime(QDate(2026, 12, day), QTime(hour, minute)));
}

class EndOfRun : public testing::WindowFixture
{
protected:
    EndOfRun()
    {
        school.addPupil(u"Svoboda"_s, u"2.A"_s);
        school.addPupil(u"Novák"_s, u"3.B"_s);
        school.addResult(u"Novák"_s, 10, 2); // the other Novák, last week
        school.addResult(u"Svoboda"_s, 40, 40);
        host.setLoginName(u"zak07"_s);
    }

    // Signs in, counts one right and one wrong answer as the exercise does, and leaves through
    // "Konec" and "Ano"; then the summary's counts, today's and all-time, before its OK, which
    // opens the report window that inReport is handed when the run is handed out.
    QStringList run(const std::function<void(Welcome&)>& signIn, double end,
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
        host.setClock(end);
        QStringList counts;
        host.onNextModal([](QDialog& question) { click(question, "Command1"); });
        host.onNextModal([&](QDialog& summary) {
            awaitSave(summary);
            counts = captions(summary, "Dnes") + captions(summary, "Celk");
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

// A profile's run over midnight is stored with the surname's totals; when the database is gone
// by the end, the pupil is told and hands the run out as a report.
TEST_F(EndOfRun, SchoolServerRunFromProfileToTheStoredRowOrTheReport)
{
    const double start = at(7, 23, 50);
    const double end = at(8, 0, 12);
    for (const bool gone : {false, true}) {
        host.setClock(start);
        const QStringList counts = run(
            [&](Welcome& welcome) {
                child<QComboBox>(welcome, "Users").setCurrentIndex(1);
                click(welcome, "Command1");
                if (gone) {
                    QFile::remove(school.path());
                }
            },
            end,
            gone ? [](QDialog& report) { click(report, "final"); }
                 : testing::ScriptedHost::ModalScript());
        EXPECT_EQ(counts.join(u'|'), (gone ? u" 2 příklady| 1 příklad| 1 příklad|není k dispozici|"
                                             u"není k dispozici|není k dispozici"_s
                                           : u" 2 příklady| 1 příklad| 1 příklad| 14 příkladů|"
                                             u" 11 příkladů| 3 příklady"_s));
        EXPECT_EQ(host.modalTitles.back(),
                  gone ? u"Generované informace pro vyučujícího"_s : u"Souhrn"_s);
        EXPECT_EQ(host.messages.size(), gone ? 1u : 0u);
        if (!gone) {
            const auto rows = school.resultRows();
            ASSERT_EQ(rows.size(), 3u);
            EXPECT_EQ(rows[2], (QVariantList{u"Novák"_s, u"3.B"_s, 1, 1, oleTimePart(start),
                                             oleTimePart(end), oleDatePart(end), u"zak07"_s,
                                             ExerciseTypeCode}));
        }
        host.messages.clear();
        host.ended = false;
        state = Data_a_promene();
    }
}

// The pupil first cancels the save dialog, then picks a folder that is not there and is told
// why, then saves over an earlier run's longer file; the database is not touched.
TEST_F(EndOfRun, EmailRunFromTypedNameToClipboardAndFile)
{
    QFile file(school.folder() + u"/Vysledky.txt"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(2000, 'z')) == 2000);
    file.close();
    const QString unwritable = school.folder() + u"/neni/Vysledky.txt"_s;
    host.setClock(at(7, 8, 15));
    const auto typeEva = [](Welcome& welcome) {
        child<QRadioButton>(welcome, "conn1").click();
        child<QLineEdit>(welcome, "Jm").setText(u"Eva Šťastná"_s);
        child<QLineEdit>(welcome, "Tr").setText(u"1.A"_s);
        click(welcome, "Command1");
    };
    const QStringList counts = run(typeEva, at(7, 8, 52), [&](QDialog& report) {
        click(report, "clipbrd");
        for (const auto& answer : std::initializer_list<std::optional<QString>>{
                 std::nullopt, unwritable, file.fileName()}) {
            host.answerNextSaveDialog(answer);
            click(report, "txtfile");
        }
        click(report, "final");
    });
    EXPECT_EQ(counts.mid(3), QStringList(3, u"není k dispozici"_s));
    EXPECT_EQ(school.resultRows().size(), 2u);
    ASSERT_EQ(host.messages.size(), 1u) << "the failed save";
    EXPECT_TRUE(host.messages[0].prompt.startsWith(
        u"Soubor se nepodařilo uložit:\n%1\n\nDůvod: složka nebo soubor neexistuje\n"_s.arg(
            unwritable)));
    EXPECT_EQ(QDir(school.folder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name),
              (QStringList{u"Vysledky.txt"_s, u"skola.sqlite"_s}));
    EXPECT_TRUE(coder.GetReportText().startsWith(u"4b "_s));
    EXPECT_EQ(host.clipboard, coder.GetReportText());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), host.clipboard.toLatin1() + "\r\n");
}

// Another computer holds the database while the summary opens: the window is there at once,
// says it is storing, and neither Enter nor Esc leaves it until the row is stored.
TEST_F(EndOfRun, TheSummaryShowsAtOnceAndWaitsForTheSaveBeforeItsOk)
{
    state.ProfileSurname = u"Svoboda"_s;
    state.RightCount = 3;
    state.WrongCount = 1;
    school.exec(u"BEGIN IMMEDIATE"_s);
    Souhrn window(context);
    window.show();
    EXPECT_EQ(captions(window, "Celk"), QStringList(3, u"ukládám…"_s));
    EXPECT_EQ(captions(window, "Dnes").join(u'|'), u" 4 příklady| 3 příklady| 1 příklad"_s);
    EXPECT_FALSE(child(window, "Command1").isEnabled());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(&window, key);
        EXPECT_TRUE(window.isVisible()) << key;
    }
    EXPECT_FALSE(host.ended);

    school.exec(u"ROLLBACK"_s);
    awaitSave(window);
    EXPECT_EQ(captions(window, "Celk").join(u'|'), u" 84 příkladů| 43 příkladů| 41 příkladů"_s);
    EXPECT_TRUE(host.messages.empty());
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(host.ended);
}

// A report long enough for the vertical scroll bar: every line of ten tokens shows whole,
// beside that bar, in the face actually drawn, and the box keeps its place.
TEST_F(EndOfRun, EveryReportLineShowsWholeInTheBox)
{
    coder.InitReportCoder();
    coder.AppendEncoded(u"Student: Jan Novák\r\nTřída: 3.B\r\n"_s.repeated(8));
    GenList window(context);
    window.show();
    QApplication::processEvents();

    auto& box = child<QPlainTextEdit>(window, "data");
    EXPECT_EQ(box.geometry(), twipsRect(120, 120, 4095, 3375));
    EXPECT_EQ(QFontInfo(box.font()).family(), u"Liberation Mono"_s);
    EXPECT_GE(box.font().pointSizeF(), 9.5) << "still a size a pupil reads at a glance";
    ASSERT_TRUE(box.verticalScrollBar()->isVisible()) << "the report is too short to test";
    const double room = box.viewport()->width() - 2 * box.document()->documentMargin();
    EXPECT_LE(QFontMetricsF(box.font(), &box).horizontalAdvance(u"xx "_s.repeated(10)), room);
    EXPECT_EQ(box.horizontalScrollBar()->maximum(), 0);
    for (QTextBlock line = box.document()->begin(); line.isValid(); line = line.next()) {
        EXPECT_EQ(line.layout()->lineCount(), 1) << line.text().toStdString();
    }
}

} // namespace
} // namespace voltmetr
