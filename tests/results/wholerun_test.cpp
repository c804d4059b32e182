// Whole runs through the real windows, from sign-in to the stored row or the handed-out
// report.
#include "app/oledate.h"
#include "results/reportdecoder.h"
#include "results/reportkey.h"
#include "signin/welcome.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

namespace voltmetr {
namespace {

// Meter 1 and a task of 110 V on its 200 V position (switch label 8), source the right way.
constexpr std::initializer_list<float> meter1 = {0.1f};
constexpr std::initializer_list<float> task110V = {0.99f, 0.5f, 0.2f};

double at(int day, int hour, int minute, int second)
{
    return toOleDate(QDateTime(QDate(2026, 12, day), QTime(hour, minute, second)));
}

class WholeRun : public testing::WindowFixture
{
protected:
    WholeRun()
    {
        school.addPupil(QStringLiteral("Svoboda"), QStringLiteral("2.A"));
        school.addPupil(QStringLiteral("Novák"), QStringLiteral("3.B"));
        school.addResult(QStringLiteral("Novák"), 10, 2); // the other Novák, last week
        school.addResult(QStringLiteral("Svoboda"), 40, 40);
        host.setLoginName(QStringLiteral("zak07"));
    }

    // Signs in, reads 110 V right and then as 100, and leaves through "Konec", "Ano" and the
    // summary, which inSummary is handed.
    void runTheExercise(const std::function<void(Welcome&)>& signIn, double end,
                        std::function<void(QDialog&)> inSummary)
    {
        host.queueRandom(meter1);
        host.queueRandom(task110V);
        Welcome welcome(context);
        welcome.show();
        signIn(welcome);
        Zkouseni* exercise = shownExercise();
        ASSERT_NE(exercise, nullptr);
        for (const char* reading : {"110", "100"}) {
            host.queueRandom(task110V); // the task that follows this one
            host.answerNextMessage(MessageAnswer::Yes);
            host.onNextModal([](QDialog& feedback) { click(feedback, "Command1"); });
            exercise->RozLB_Click(8);
            exercise->findChild<QLineEdit*>(QStringLiteral("Vstup"))
                ->setText(QString::fromLatin1(reading));
            exercise->Contin_Click();
        }
        host.setClock(end);
        host.onNextModal([](QDialog& question) { click(question, "Command1"); });
        host.onNextModal(std::move(inSummary));
        exercise->Command3_Click();
        EXPECT_TRUE(host.ended);
    }
};

TEST_F(WholeRun, SchoolServerRunOverMidnightFromProfileToTheStoredRow)
{
    host.setClock(at(7, 23, 50, 30));
    QStringList today;
    QStringList allTime;
    runTheExercise(
        [](Welcome& welcome) {
            welcome.findChild<QComboBox*>(QStringLiteral("Users"))->setCurrentIndex(1);
            click(welcome, "Command1");
        },
        at(8, 0, 12, 10),
        [&](QDialog& summary) {
            today = captions(summary, "Dnes");
            allTime = captions(summary, "Celk");
            click(summary, "Command1");
        });
    EXPECT_EQ(today, (QStringList{QStringLiteral(" 2 příklady"), QStringLiteral(" 1 příklad"),
                                  QStringLiteral(" 1 příklad")}));
    EXPECT_EQ(allTime, (QStringList{QStringLiteral(" 14 příkladů"), QStringLiteral(" 11 příkladů"),
                                    QStringLiteral(" 3 příklady")}));
    EXPECT_EQ(host.messages.size(), 2u) << "only the two confirmations";
    const auto rows = school.resultRows();
    ASSERT_EQ(rows.size(), 3u);
    const QVariantList expected = {QStringLiteral("Novák"),
                                   QStringLiteral("3.B"),
                                   1,
                                   1,
                                   oleTimePart(at(7, 23, 50, 30)),
                                   oleTimePart(at(8, 0, 12, 10)),
                                   oleDatePart(at(8, 0, 12, 10)),
                                   QStringLiteral("zak07"),
                                   ExerciseTypeCode};
    ASSERT_EQ(rows[2].size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(rows[2][i].toString(), expected[i].toString()) << "field " << i;
    }
}

TEST_F(WholeRun, EmailRunFromTypedNameToClipboardAndFile)
{
    const QString file = school.folder() + QStringLiteral("/Vysledky.txt");
    QFile earlier(file);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write(QByteArray(2000, 'z')); // an earlier run's file, longer than this report
    earlier.close();
    host.setClock(at(7, 8, 15, 30));
    host.queueRandom({0.3f}); // the sign-in's report, replaced at the summary
    host.answerNextSaveDialog(file);
    QStringList allTime;
    runTheExercise(
        [](Welcome& welcome) {
            welcome.findChild<QRadioButton*>(QStringLiteral("conn1"))->click();
            welcome.findChild<QLineEdit*>(QStringLiteral("Jm"))
                ->setText(QStringLiteral("Eva Šťastná"));
            welcome.findChild<QLineEdit*>(QStringLiteral("Tr"))->setText(QStringLiteral("1.A"));
            click(welcome, "Command1");
        },
        at(7, 8, 52, 59),
        [&](QDialog& summary) {
            allTime = captions(summary, "Celk");
            host.onNextModal([](QDialog& report) {
                click(report, "clipbrd");
                click(report, "txtfile");
                click(report, "final");
            });
            click(summary, "Command1");
        });
    EXPECT_EQ(allTime, QStringList(3, QStringLiteral("není k dispozici")));
    EXPECT_EQ(school.resultRows().size(), 2u) << "the database is not touched in e-mail mode";
    EXPECT_EQ(host.messages.size(), 2u) << "only the two confirmations";

    const QString percent =
        QStringLiteral("50") + QLocale::system().decimalPoint() + QStringLiteral("00%)");
    const QStringList expected = {
        QStringLiteral("Student: Eva Šťastná"),
        QStringLiteral("Třída: 1.A"),
        QStringLiteral("Prověřovák: 2 - Měření na voltmetru"),
        QStringLiteral("Od: 07.12.2026 08:15"),
        QStringLiteral("Do: 07.12.2026 08:52"),
        QStringLiteral("Celkem odpovědí: 2"),
        QStringLiteral("Z toho dobře: 1 (") + percent,
        QStringLiteral("špatně: 1 (") + percent,
        QString(),
    };
    const DecodedReport fromClipboard = decodeReport(host.clipboard);
    ASSERT_TRUE(fromClipboard.ok()) << fromClipboard.error.toStdString();
    const QStringList lines = fromClipboard.text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
    }
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), host.clipboard.toLatin1() + "\r\n");
}

} // namespace
} // namespace voltmetr
