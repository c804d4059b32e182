#include "exercise/meterface.h"
#include "exercise/zkouseni.h"
#include "support/scriptedhost.h"
#include "ui/twips.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace voltmetr::testing {
namespace {

QPushButton& buttonOf(QWidget& window, const char* objectName)
{
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(objectName));
    return button != nullptr ? *button : throw std::runtime_error(objectName);
}

ScriptedHost::ModalScript press(const char* objectName)
{
    return [objectName](QDialog& dialog) { buttonOf(dialog, objectName).click(); };
}

const ScriptedHost::ModalScript closeByDesktop = [](QDialog& dialog) { dialog.close(); };

class ExerciseWindow : public ::testing::Test
{
protected:
    // meterDraw picks the meter (0.1: meter 1, 0.3: meter 2, ...); the default task is 110 V
    // on meter 1's 200 V position, source the right way round. The switch starts on 0.5 V.
    void start(float meterDraw = 0.1f, std::initializer_list<float> task = {0.99f, 0.5f, 0.2f})
    {
        host.queueRandom({meterDraw});
        host.queueRandom(task);
        window = std::make_unique<Zkouseni>(context);
        window->show();
    }

    const Exercise& exercise() const { return window->exercise(); }
    QLineEdit& vstup() { return *window->findChild<QLineEdit*>(QStringLiteral("Vstup")); }

    void answer(const QString& text)
    {
        vstup().setText(text);
        window->Contin_Click();
    }

    // Connected on the 0.5 V range: the first tick runs the needle into the upper stop.
    void peg()
    {
        window->Pripoj_Click();
        window->casovac_Timer();
        ASSERT_TRUE(window->CP().isActive());
    }

    ScriptedHost host;
    Data_a_promene state;
    Info2 coder{host};
    WindowContext context{host, state, coder};
    std::unique_ptr<Zkouseni> window;
};

// The answer counts before its window opens; the worked calculation uses the task's 200 V
// range although the pupil measured on 100 V.
TEST_F(ExerciseWindow, JudgedAnswerIsCountedBeforeItsWindowOpens)
{
    for (const auto& [typed, title, labels, shown] :
         {std::tuple{"110", "Gratuluji", std::vector<const char*>{"Label1"}, "Velmi dobře"},
          std::tuple{"100", "C H Y B A",
                     std::vector<const char*>{"Roz", "Dilk", "Ukaz", "Souh", "Vys"},
                     "200|100| 55|(200 V / 100 dílků) *  55 dílků =|110 V"}}) {
        SCOPED_TRACE(typed);
        host.modalTitles.clear();
        start();
        window->RozLB_Click(7);
        const std::uint32_t task = exercise().taskSerial();
        host.answerNextMessage(MessageAnswer::Yes);
        QStringList texts;
        int finishedWhileOpen = -1;
        host.onNextModal([&](QDialog& dialog) {
            finishedWhileOpen = state.RightCount + state.WrongCount;
            for (const char* name : labels) {
                texts << dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
            }
            buttonOf(dialog, "Command1").click();
        });
        answer(QString::fromLatin1(typed));
        EXPECT_EQ(host.modalTitles, std::vector{QString::fromUtf8(title)});
        EXPECT_EQ(texts.join(QLatin1Char('|')), QString::fromUtf8(shown));
        EXPECT_EQ(finishedWhileOpen, 1);
        EXPECT_EQ(exercise().taskSerial(), task + 1);
    }
}

// Enter answers like the button, and the box shows the text with its comma made a point.
TEST_F(ExerciseWindow, EnterInTheAnswerBoxAnswers)
{
    for (const auto& [label, typed, prompt] :
         {std::tuple{6, "1,5",
                     "Uvedl jsi, že napětí na voltmetru je 1.5 V. \r\nJseš si opravdu jist?"},
          std::tuple{7, "22,0", "Máš nastaven zbytečně veliký rozsah. Měření je nepřesné!"}}) {
        SCOPED_TRACE(typed);
        host.messages.clear();
        start(0.5f, {0.9f, 0.1f, 0.2f}); // meter 3, 22 V: the 24 V range on label 6 is right
        window->RozLB_Click(label);
        vstup().setText(QString::fromUtf8(typed));
        host.answerNextMessage(MessageAnswer::No); // for the question; the range asks none
        QTest::keyClick(&vstup(), Qt::Key_Return);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].prompt, QString::fromUtf8(prompt));
        EXPECT_EQ(vstup().text(),
                  QString::fromUtf8(typed).replace(QLatin1Char(','), QLatin1Char('.')));
    }
}

TEST_F(ExerciseWindow, OverloadRefusesAnswersAndDestroysTheMeterOnce)
{
    start();
    peg();
    answer(QStringLiteral("110"));
    EXPECT_EQ(host.beeps, 1);
    EXPECT_TRUE(host.messages.empty());

    const std::uint32_t task = exercise().taskSerial();
    auto* face = window->findChild<MeterFace*>(QStringLiteral("Stupnice"));
    bool destroyedWhileOpen = false;
    host.onNextModal([&](QDialog& dialog) {
        destroyedWhileOpen = face->showsDestroyedMeter() && !face->needleVisible();
        EXPECT_EQ(buttonOf(dialog, "Command1").text(), QStringLiteral("Beru na vědomí"));
        closeByDesktop(dialog); // acts as its only button
    });
    for (int tick = 0; tick < 25; ++tick) {
        window->CP_Timer();
    }
    EXPECT_EQ(host.modalTitles, std::vector{QStringLiteral("C H Y B A")});
    EXPECT_TRUE(destroyedWhileOpen);
    EXPECT_EQ(state.WrongCount, 1);
    EXPECT_EQ(exercise().taskSerial(), task + 1);
}

TEST_F(ExerciseWindow, MeterChangesAfterTheTenthFinishedTask)
{
    start();
    for (int i = 0; i < 9; ++i) {
        host.queueRandom({0.99f, 0.5f, 0.2f});
    }
    host.queueRandom({0.7f}); // meter 4
    window->RozLB_Click(1);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(exercise().RangePos, 2) << "the pupil's range stays while the meter does";
        host.answerNextMessage(MessageAnswer::Yes);
        host.onNextModal(press("Command1"));
        answer(QStringLiteral("0.001"));
    }
    EXPECT_EQ(host.messages.back().prompt,
              QStringLiteral("Provedl jsi 10 měření. Pozor měním měřák."));
    EXPECT_EQ(exercise().MeterNo, 4) << "after ten tasks on meter 1";
    EXPECT_EQ(window->knobPointer().p1(), QPointF(4760, 5900)) << "on its smallest range";
}

// Hidden labels show as "-"; the captions follow the system's decimal separator.
TEST_F(ExerciseWindow, EachMeterLaysOutItsOwnDial)
{
    for (const auto& [draw, captions, eight] :
         {std::tuple{0.1f, "0,5 1 2 5 10 20 50 100 200", false},
          std::tuple{0.3f, "- 0,6 1,2 2,4 6 12 24 120 -", false},
          std::tuple{0.5f, "- 0,6 1,2 2,4 6 12 24 120 -", false},
          std::tuple{0.7f, "- 0,6 1,2 3 6 12 30 60 120", true},
          std::tuple{0.9f, "- 0,5 1 2 5 10 50 100 200", true}}) {
        SCOPED_TRACE(captions);
        start(draw);
        window->setLocale(QLocale(QLocale::Czech));
        const auto& left = eight ? state.tables.LabelLeft8 : state.tables.LabelLeft9;
        const auto& top = eight ? state.tables.LabelTop8 : state.tables.LabelTop9;
        QStringList shown;
        for (int i = 0; i < 9; ++i) {
            const QLabel& label = *window->findChild<QLabel*>(QStringLiteral("RozLB%1").arg(i));
            shown << (label.isVisible() ? label.text() : QStringLiteral("-"));
            EXPECT_EQ(label.geometry(), twipsRect(left[i + 1], top[i + 1], 270, 195)) << i;
        }
        EXPECT_EQ(shown.join(QLatin1Char(' ')).toStdString(), captions);
        QTest::mouseClick(window->findChild<QLabel*>(QStringLiteral("RozLB3")), Qt::LeftButton);
        EXPECT_EQ(exercise().RangePos, 4);
    }
}

// An answer judged in Spatny stays counted when the pupil leaves through its "&Konec".
TEST_F(ExerciseWindow, LeavingFromSpatnyKeepsTheJudgedAnswer)
{
    start();
    const std::uint32_t task = exercise().taskSerial();
    host.answerNextMessage(MessageAnswer::Yes);
    host.onNextModal(press("Command2")); // Spatny: "&Konec"
    host.onNextModal(press("Command1")); // Konec: "&Ano"
    int wrongUnderSummary = -1;
    host.onNextModal([&](QDialog& summary) {
        wrongUnderSummary = state.WrongCount;
        summary.done(QDialog::Accepted);
    });
    answer(QStringLiteral("100"));
    EXPECT_EQ(host.modalTitles, (std::vector{QStringLiteral("C H Y B A"), QStringLiteral("Konec ?"),
                                             QStringLiteral("Souhrn")}));
    EXPECT_EQ(wrongUnderSummary, 1);
    EXPECT_EQ(exercise().taskSerial(), task) << "no new task after the program ended";
}

// Konec's "&Ne" and the desktop closing it give the exercise back, the countdown where it stood.
TEST_F(ExerciseWindow, KonecNoResumesTheCountdownWhereItStood)
{
    for (const auto& leave : {press("Command2"), closeByDesktop}) {
        start();
        peg();
        for (int tick = 0; tick < 5; ++tick) {
            window->CP_Timer();
        }
        bool frozen = false;
        host.onNextModal([&](QDialog& dialog) {
            frozen = !window->CP().isActive();
            leave(dialog);
        });
        window->Command3_Click();
        EXPECT_TRUE(frozen);
        EXPECT_TRUE(window->CP().isActive());
        EXPECT_EQ(exercise().BlinkCount, 5);
    }
}

// The desktop closing Dobry or Spatny acts as their "&Konec"; Konec's "&Ne" returns there.
TEST_F(ExerciseWindow, DesktopClosingAFeedbackWindowAsksToEnd)
{
    for (const char* typed : {"110", "100"}) {
        host.modalTitles.clear();
        start();
        window->RozLB_Click(8);
        const std::uint32_t task = exercise().taskSerial();
        host.answerNextMessage(MessageAnswer::Yes);
        host.onNextModal([](QDialog& dialog) {
            closeByDesktop(dialog);
            EXPECT_TRUE(dialog.isVisible());
            buttonOf(dialog, "Command1").click();
        });
        host.onNextModal(press("Command2")); // Konec: "&Ne"
        answer(QString::fromLatin1(typed));
        EXPECT_EQ(host.modalTitles.size(), 2u) << typed;
        EXPECT_EQ(host.modalTitles.back(), QStringLiteral("Konec ?"));
        EXPECT_EQ(exercise().taskSerial(), task + 1);
    }
}

} // namespace
} // namespace voltmetr::testing
