// Whole runs through the real windows, from sign-in to the stored row or the handed-out
// report.
#include "app/oledate.h"
#include "exercise/zkouseni.h"
#include "results/reportdecoder.h"
#include "results/reportkey.h"
#include "runfixture.h"
#include "schoolfile.h"
#include "signin/welcome.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

namespace voltmetr {
namespace {

// Meter 1 and a task of 110 V on its 200 V position (switch label 8), source the right way.
constexpr std::initializer_list<float> meter1 = {0.1f};
constexpr std::initializer_list<float> task110V = {0.99f, 0.5f, 0.2f};

double at(int hour, int minute, int second = 0)
{
    return toOleDate(QDateTime(QDate(2026, 12, 7), QTime(hour, minute, second)));
}

QStringList captionsOf(QWidget& window, const char* family)
{
    QStringList texts;
    for (int i = 0; i < 3; ++i) {
        const auto* label =
            window.findChild<QLabel*>(QString::fromLatin1(family) + QString::number(i));
        texts << (label ? label->text() : QString());
    }
    return texts;
}

class WholeRun : public testing::RunFixture
{
protected:
    WholeRun()
    {
        useDatabase(school.path());
        school.addPupil(QStringLiteral("Svoboda"), QStringLiteral("2.A"));
        school.addPupil(QStringLiteral("Novák"), QStringLiteral("3.B"));
        school.addResult(QStringLiteral("Novák"), 10, 2); // the other Novák, last week
        school.addResult(QStringLiteral("Svoboda"), 40, 40);
        host.setClock(at(8, 15, 30));
        host.setLoginName(QStringLiteral("zak07"));
    }

    Zkouseni& exerciseWindow()
    {
        Zkouseni* exercise = shownExercise();
        if (exercise == nullptr) {
            throw std::runtime_error("no exercise window");
        }
        return *exercise;
    }

    // One right answer (110 V read as 110) and one wrong (read as 100), each confirmed.
    void answerOneRightOneWrong()
    {
        Zkouseni& exercise = exerciseWindow();
        auto* vstup = exercise.findChild<QLineEdit*>(QStringLiteral("Vstup"));
        ASSERT_NE(vstup, nullptr);
        for (const char* reading : {"110", "100"}) {
            host.queueRandom(task110V); // the task that follows this one
            host.answerNextMessage(MessageAnswer::Yes);
            host.onNextModal([](QDialog& feedback) { click(feedback, "Command1"); });
            exercise.RozLB_Click(8);
            vstup->setText(QString::fromLatin1(reading));
            exercise.Contin_Click();
        }
        EXPECT_EQ(host.modalTitles,
                  (std::vector<QString>{QStringLiteral("Gratuluji"), QStringLiteral("C H Y B A")}));
        EXPECT_EQ(state.RightCount, 1);
        EXPECT_EQ(state.WrongCount, 1);
    }

    // "Konec", "Ano", then the summary, whose window the script sees before it is left.
    void endTheExercise(std::function<void(QDialog&)> inSummary)
    {
        host.onNextModal([](QDialog& question) { click(question, "Command1"); });
        host.onNextModal(std::move(inSummary));
        exerciseWindow().Command3_Click();
    }

    testing::SchoolFile school;
};

TEST_F(WholeRun, SchoolServerRunFromProfileToTheStoredRow)
{
    host.queueRandom(meter1);
    host.queueRandom(task110V);
    Welcome welcome(context);
    welcome.show();
    welcome.findChild<QComboBox*>(QStringLiteral("Users"))->setCurrentIndex(1);
    click(welcome, "Command1");

    answerOneRightOneWrong();
    host.setClock(at(8, 52, 10));
    QStringList today;
    QStringList allTime;
    endTheExercise([&](QDialog& summary) {
        today = captionsOf(summary, "Dnes");
        allTime = captionsOf(summary, "Celk");
        click(summary, "Command1");
    });

    EXPECT_TRUE(host.ended);
    EXPECT_EQ(today, (QStringList{QStringLiteral(" 2 příklady"), QStringLiteral(" 1 příklad"),
                                  QStringLiteral(" 1 příklad")}));
    EXPECT_EQ(allTime, (QStringList{QStringLiteral(" 14 příkladů"), QStringLiteral(" 11 příkladů"),
                                    QStringLiteral(" 3 příklady")}));
    EXPECT_TRUE(host.messages.size() == 2u) << "only the two confirmations";

    const auto rows = school.resultRows();
    ASSERT_EQ(rows.size(), 3u);
    const QVariantList& row = rows[2];
    ASSERT_EQ(row.size(), 9);
    EXPECT_EQ(row[0].toString(), QStringLiteral("Novák"));
    EXPECT_EQ(row[1].toString(), QStringLiteral("3.B"));
    EXPECT_EQ(row[2].toInt(), 1);
    EXPECT_EQ(row[3].toInt(), 1);
    EXPECT_NEAR(row[4].toDouble(), oleTimePart(at(8, 15, 30)), 1e-9);
    EXPECT_NEAR(row[5].toDouble(), oleTimePart(at(8, 52, 10)), 1e-9);
    EXPECT_DOUBLE_EQ(row[6].toDouble(), oleDatePart(at(8, 52, 10)));
    EXPECT_EQ(row[7].toString(), QStringLiteral("zak07"));
    EXPECT_EQ(row[8].toInt(), ExerciseTypeCode);
}

TEST_F(WholeRun, EmailRunFromTypedNameToClipboardAndFile)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Vysledky.txt"));
    host.queueRandom({0.3f}); // the sign-in's report, replaced at the summary
    host.queueRandom(meter1);
    host.queueRandom(task110V);
    Welcome welcome(context);
    welcome.show();
    welcome.findChild<QRadioButton*>(QStringLiteral("conn1"))->click();
    welcome.findChild<QLineEdit*>(QStringLiteral("Jm"))->setText(QStringLiteral("Eva Šťastná"));
    welcome.findChild<QLineEdit*>(QStringLiteral("Tr"))->setText(QStringLiteral("1.A"));
    click(welcome, "Command1");

    answerOneRightOneWrong();
    host.setClock(at(8, 52, 59));
    host.answerNextSaveDialog(file);
    QStringList allTime;
    endTheExercise([&](QDialog& summary) {
        allTime = captionsOf(summary, "Celk");
        host.onNextModal([](QDialog& report) {
            click(report, "clipbrd");
            click(report, "txtfile");
            click(report, "final");
        });
        click(summary, "Command1");
    });

    EXPECT_TRUE(host.ended);
    EXPECT_EQ(allTime, QStringList(3, QStringLiteral("není k dispozici")));
    EXPECT_TRUE(school.resultRows().size() == 2u) << "nothing stored in e-mail mode";

    const QString decimal = QLocale::system().decimalPoint();
    const QStringList expected = {
        QStringLiteral("Student: Eva Šťastná"),
        QStringLiteral("Třída: 1.A"),
        QStringLiteral("Prověřovák: 2 - Měření na voltmetru"),
        QStringLiteral("Od: 07.12.2026 08:15"),
        QStringLiteral("Do: 07.12.2026 08:52"),
        QStringLiteral("Celkem odpovědí: 2"),
        QStringLiteral("Z toho dobře: 1 (50") + decimal + QStringLiteral("00%)"),
        QStringLiteral("špatně: 1 (50") + decimal + QStringLiteral("00%)"),
        QString(),
    };
    const DecodedReport fromClipboard = decodeReport(host.clipboard);
    ASSERT_TRUE(fromClipboard.ok()) << fromClipboard.error.toStdString();
    const QStringList lines = fromClipboard.text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
    }
    EXPECT_TRUE(host.clipboard.startsWith(QStringLiteral("4b ")));

    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_EQ(bytes, host.clipboard.toLatin1() + "\r\n");
    EXPECT_EQ(decodeReport(QString::fromLatin1(bytes)).text, fromClipboard.text);
}

} // namespace
} // namespace voltmetr
