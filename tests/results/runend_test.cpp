// How a run ends: the summary's counts, the stored row or the handed-out report, from sign-in
// through the real windows.
#include "app/oledate.h"
#include "report/reportdecoder.h"
#include "report/reportkey.h"
#include "results/runsummary.h"
#include "results/souhrn.h"
#include "signin/welcome.h"
#include "support/windowfixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

double at(int day, int hour, int minute, int second)
{
    return toOleDate(QDateTime(QDate(2026, 12, day), QTime(hour, minute, second)));
}

// A decoded report's lines, percents written with this computer's decimal separator.
QStringList reportLines(const char* pupil, const char* pupilClass, const char* from, const char* to,
                        int total, const char* right, const char* wrong)
{
    return QStringLiteral("Student: %1\r\nTřída: %2\r\nPrověřovák: 2 - Měření na voltmetru\r\n"
                          "Od: %3\r\nDo: %4\r\nCelkem odpovědí: %5\r\nZ toho dobře: %6\r\n"
                          "špatně: %7\r\n")
        .arg(QString::fromUtf8(pupil), QString::fromUtf8(pupilClass), QString::fromUtf8(from),
             QString::fromUtf8(to), QString::number(total), QString::fromUtf8(right),
             QString::fromUtf8(wrong))
        .replace(u',', QLocale::system().decimalPoint())
        .split(u"\r\n"_s);
}

class RunEnd : public testing::WindowFixture
{
protected:
    RunEnd()
    {
        school.addPupil(u"Svoboda"_s, u"2.A"_s);
        school.addPupil(u"Novák"_s, u"3.B"_s);
        school.addResult(u"Novák"_s, 10, 2); // the other Novák, last week
        school.addResult(u"Svoboda"_s, 40, 40);
        host.setLoginName(u"zak07"_s);
    }

    // Signs in, reads 110 V right and then as 100, confirming each, and leaves through
    // "Konec" and "Ano"; then the summary's counts, today's and all-time, before its OK, which
    // in e-mail mode opens the report window that inReport is handed.
    QStringList run(const std::function<void(Welcome&)>& signIn, double end,
                    testing::ScriptedHost::ModalScript inReport = {})
    {
        // Meter 1, then 110 V on its 200 V position (switch label 8), source the right way.
        host.queueRandom({0.1f, 0.99f, 0.5f, 0.2f});
        Welcome welcome(context);
        welcome.show();
        signIn(welcome);
        Zkouseni* exercise = shownExercise();
        if (exercise == nullptr) {
            throw std::runtime_error("no exercise window");
        }
        for (const char* reading : {"110", "100"}) {
            host.queueRandom({0.99f, 0.5f, 0.2f}); // the task that follows
            host.answerNextMessage(MessageAnswer::Yes);
            host.onNextModal([](QDialog& feedback) { click(feedback, "Command1"); });
            exercise->RozLB_Click(8);
            child<QLineEdit>(*exercise, "Vstup").setText(QString::fromLatin1(reading));
            exercise->Contin_Click();
        }
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

TEST_F(RunEnd, SchoolServerRunOverMidnightFromProfileToTheStoredRow)
{
    const double start = at(7, 23, 50, 30);
    const double end = at(8, 0, 12, 10);
    host.setClock(start);
    const QStringList counts = run(
        [](Welcome& welcome) {
            child<QComboBox>(welcome, "Users").setCurrentIndex(1);
            click(welcome, "Command1");
        },
        end);
    EXPECT_EQ(host.messages.size(), 2u) << "only the two confirmations";
    EXPECT_EQ(counts.join(u'|'), QStringLiteral(" 2 příklady| 1 příklad| 1 příklad| 14 příkladů|"
                                                " 11 příkladů| 3 příklady"));
    const auto rows = school.resultRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2],
              (QVariantList{u"Novák"_s, u"3.B"_s, 1, 1, oleTimePart(start), oleTimePart(end),
                            oleDatePart(end), u"zak07"_s, ExerciseTypeCode}));
}

// The pupil first cancels the save dialog, then picks a folder that is not there and is told
// why, then saves over an earlier run's longer file.
TEST_F(RunEnd, EmailRunFromTypedNameToClipboardAndFile)
{
    QFile file(school.folder() + u"/Vysledky.txt"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(2000, 'z')) == 2000);
    file.close();
    const QString unwritable = school.folder() + u"/neni/Vysledky.txt"_s;
    host.setClock(at(7, 8, 15, 30));
    host.queueRandom({0.3f}); // the sign-in's report, replaced at the summary
    const auto typeEva = [](Welcome& welcome) {
        child<QRadioButton>(welcome, "conn1").click();
        child<QLineEdit>(welcome, "Jm").setText(u"Eva Šťastná"_s);
        child<QLineEdit>(welcome, "Tr").setText(u"1.A"_s);
        click(welcome, "Command1");
    };
    const QStringList counts = run(typeEva, at(7, 8, 52, 59), [&](QDialog& report) {
        click(report, "clipbrd");
        for (const auto& answer : std::initializer_list<std::optional<QString>>{
                 std::nullopt, unwritable, file.fileName()}) {
            host.answerNextSaveDialog(answer);
            click(report, "txtfile");
        }
        click(report, "final");
    });
    EXPECT_EQ(counts.mid(3), QStringList(3, u"není k dispozici"_s));
    EXPECT_EQ(school.resultRows().size(), 2u) << "the database is not touched in e-mail mode";
    ASSERT_EQ(host.messages.size(), 3u) << "the two confirmations and the failed save";
    EXPECT_EQ(host.messages[2].style, MessageStyle::OkCritical);
    EXPECT_TRUE(host.messages[2].prompt.startsWith(
        u"Soubor se nepodařilo uložit:\n%1\n\nDůvod: složka nebo soubor neexistuje\n"_s.arg(
            unwritable)));
    EXPECT_EQ(QDir(school.folder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name),
              (QStringList{u"Vysledky.txt"_s, u"skola.sqlite"_s}));

    const DecodedReport decoded = decodeReport(host.clipboard);
    EXPECT_EQ(decoded.text.split(u"\r\n"_s),
              reportLines("Eva Šťastná", "1.A", "07.12.2026 08:15", "07.12.2026 08:52", 2,
                          "1 (50,00%)", "1 (50,00%)"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), host.clipboard.toLatin1() + "\r\n");
}

// Another computer holds the database while the summary opens: the window is there at once,
// says it is storing, and neither Enter nor Esc leaves it until the row is stored.
TEST_F(RunEnd, TheSummaryShowsAtOnceAndWaitsForTheSaveBeforeItsOk)
{
    state.ProfileSurname = u"Svoboda"_s;
    state.ProfileClass = u"2.A"_s;
    state.RightCount = 3;
    state.WrongCount = 1;
    host.setClock(at(7, 9, 40, 0));
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
    EXPECT_EQ(school.resultRows().size(), 3u);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(host.ended);
}

TEST(CountNoun, TheNumberChoosesTheForm)
{
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, " příkladů"},  {1, " příklad"},   {2, " příklady"},  {4, " příklady"}, {5, " příkladů"},
        {11, " příkladů"}, {21, " příkladů"}, {22, " příkladů"}, {-2, " příkladů"}};
    for (const auto& [n, noun] : cases) {
        EXPECT_EQ(CountNoun(n), QString::fromUtf8(noun)) << n;
    }
}

// The row cannot be stored: the run is handed out as a report instead of being lost. The
// report starts on the sign-in's day, or the day before when that time is still to come.
TEST_F(RunEnd, ARowThatCannotBeStoredIsReportedAndHandedOutAsAReport)
{
    // The database (beside a skola.sqlite without its results table), the sign-in's time of day,
    // the report's start and the reason the pupil is given.
    const std::tuple<const char*, const char*, double, const char*, const char*> cases[] = {
        {"results table gone", "skola.sqlite", 9.0 / 24, "07.12.2026 09:00",
         "v databázi chybí tabulka „Prehled “"},
        {"file gone since a sign-in before midnight", "pryc.sqlite", 23.5 / 24, "06.12.2026 23:30",
         "soubor databáze nejde otevřít: chybí, nebo k němu není přístup"},
    };
    school.exec(u"DROP TABLE \"Prehled \""_s);
    state.ProfileSurname = u"Novák"_s;
    state.ProfileClass = u"3.B"_s;
    state.RightCount = 5;
    state.WrongCount = 2;
    host.setClock(46363 + 9 / 24.0 + 40 / 1440.0); // 07.12.2026 09:40
    for (const auto& [name, database, startTime, from, reason] : cases) {
        useDatabase(school.folder() + u'/' + QString::fromLatin1(database));
        host.messages.clear();
        state.StartTime = startTime;
        host.onNextModal([](QDialog& report) { click(report, "final"); });
        Souhrn window(context);
        awaitSave(window);
        ASSERT_EQ(host.messages.size(), 1u) << name;
        EXPECT_TRUE(host.messages[0].prompt.startsWith(
            u"Výsledek se nepodařilo uložit do školní databáze.\n\nDůvod: %1\n\n"_s.arg(
                QString::fromUtf8(reason))))
            << name << ": " << host.messages[0].prompt.toStdString();
        EXPECT_EQ(captions(window, "Celk"), QStringList(3, u"není k dispozici"_s));
        EXPECT_EQ(
            decodeReport(coder.GetReportText()).text.split(u"\r\n"_s),
            reportLines("Novák", "3.B", from, "07.12.2026 09:40", 7, "5 (71,43%)", "2 (28,57%)"))
            << name;
        EXPECT_FALSE(QFile::exists(school.folder() + u"/pryc.sqlite"_s));
        click(window, "Command1");
        EXPECT_EQ(host.modalTitles.back(), u"Generované informace pro vyučujícího"_s);
    }
}

} // namespace
} // namespace voltmetr
