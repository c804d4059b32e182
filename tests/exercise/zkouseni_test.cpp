#include "exercise/meterface.h"
#include "ui/twips.h"
#include "windowtest.h"

#include <QTest>

namespace voltmetr::testing {
namespace {

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
        const int finishedBefore = state.RightCount + state.WrongCount;
        host.answerNextMessage(MessageAnswer::Yes);
        QStringList texts;
        int finishedWhileOpen = -1;
        host.onNextModal([&](QDialog& dialog) {
            finishedWhileOpen = state.RightCount + state.WrongCount;
            for (const char* name : labels) {
                texts << textOf(dialog, name);
            }
            buttonOf(dialog, "Command1").click();
        });
        answer(QString::fromLatin1(typed));
        EXPECT_EQ(host.modalTitles, std::vector<QString>{QString::fromUtf8(title)});
        EXPECT_EQ(texts.join(QLatin1Char('|')), QString::fromUtf8(shown));
        EXPECT_EQ(finishedWhileOpen, finishedBefore + 1);
        EXPECT_EQ(exercise().taskSerial(), task + 1);
        EXPECT_TRUE(vstup().text().isEmpty());
    }
}

TEST_F(ExerciseWindow, RangeTooLargeIsRefusedWithTheTextMadeAPoint)
{
    start(0.5f, {0.9f, 0.1f, 0.2f}); // meter 3, 22 V: the 24 V range on position 7 is right
    window->RozLB_Click(7);
    answer(QStringLiteral("22,0"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].prompt,
              QStringLiteral("Máš nastaven zbytečně veliký rozsah. Měření je nepřesné!"));
    EXPECT_EQ(host.messages[0].title, QStringLiteral("Upozornění"));
    EXPECT_EQ(vstup().text(), QStringLiteral("22.0"));
    EXPECT_EQ(state.RightCount + state.WrongCount, 0);
}

TEST_F(ExerciseWindow, EnterInTheAnswerBoxAsksForConfirmation)
{
    start();
    vstup().setText(QStringLiteral("1,5"));
    host.answerNextMessage(MessageAnswer::No);
    QTest::keyClick(&vstup(), Qt::Key_Return);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages[0].prompt,
        QStringLiteral("Uvedl jsi, že napětí na voltmetru je 1.5 V. \r\nJseš si opravdu jist?"));
    EXPECT_EQ(host.messages[0].style, MessageStyle::YesNoQuestion);
    EXPECT_EQ(vstup().text(), QStringLiteral("1.5"));
    EXPECT_EQ(state.RightCount + state.WrongCount, 0);
}

TEST_F(ExerciseWindow, OverloadRefusesAnswersAndDestroysTheMeterOnce)
{
    start();
    peg();
    answer(QStringLiteral("110"));
    EXPECT_EQ(host.beeps, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(vstup().text(), QStringLiteral("110"));

    const std::uint32_t task = exercise().taskSerial();
    auto* face = window->findChild<MeterFace*>(QStringLiteral("Stupnice"));
    bool destroyedWhileOpen = false;
    host.onNextModal([&](QDialog& dialog) {
        destroyedWhileOpen = face->showsDestroyedMeter() && !face->needleVisible();
        EXPECT_EQ(state.WrongCount, 1);
        EXPECT_FALSE(window->CP().isActive());
        buttonOf(dialog, "Command1").click();
    });
    for (int tick = 0; tick < 25; ++tick) {
        window->CP_Timer();
    }
    EXPECT_EQ(host.modalTitles, std::vector<QString>{QStringLiteral("C H Y B A")});
    EXPECT_TRUE(destroyedWhileOpen);
    EXPECT_EQ(state.WrongCount, 1);
    EXPECT_EQ(exercise().taskSerial(), task + 1);
    EXPECT_TRUE(face->needleVisible());
    EXPECT_EQ(buttonOf(*window, "Pripoj").text(), QStringLiteral("Připojit"));
}

TEST_F(ExerciseWindow, MeterChangesAfterTheTenthFinishedTask)
{
    start();
    for (int i = 0; i < 9; ++i) {
        host.queueRandom({0.99f, 0.5f, 0.2f});
    }
    host.queueRandom({0.7f}); // meter 4
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(exercise().MeterNo, 1) << "after " << i << " answers";
        host.answerNextMessage(MessageAnswer::Yes);
        host.onNextModal(press("Command1"));
        answer(QStringLiteral("0.001"));
    }
    EXPECT_EQ(host.messages.back().prompt,
              QStringLiteral("Provedl jsi 10 měření. Pozor měním měřák."));
    EXPECT_EQ(host.messages.back().title, QStringLiteral("Nový měřák"));
    EXPECT_EQ(exercise().MeterNo, 4);
    EXPECT_EQ(window->knobPointer().p1(), QPointF(4760, 5900)) << "on its smallest range";
}

TEST_F(ExerciseWindow, EachMeterLaysOutItsOwnDial)
{
    // meter draw, hidden labels, 8-position dial
    for (const auto& [draw, hidden, eight] :
         {std::tuple{0.1f, std::vector<int>{}, false}, std::tuple{0.3f, std::vector{0, 8}, false},
          std::tuple{0.5f, std::vector{0, 8}, false}, std::tuple{0.7f, std::vector{0}, true},
          std::tuple{0.9f, std::vector{0}, true}}) {
        SCOPED_TRACE(draw);
        start(draw);
        const MeterTables& t = state.tables;
        for (int i = 0; i < 9; ++i) {
            const bool shown = std::find(hidden.begin(), hidden.end(), i) == hidden.end();
            EXPECT_EQ(rangeLabel(i).isVisible(), shown) << "RozLB" << i;
            EXPECT_EQ(rangeLabel(i).geometry(),
                      eight ? twipsRect(t.LabelLeft8[i + 1], t.LabelTop8[i + 1], 270, 195)
                            : twipsRect(t.LabelLeft9[i + 1], t.LabelTop9[i + 1], 270, 195))
                << "RozLB" << i;
        }
        QTest::mouseClick(&rangeLabel(3), Qt::LeftButton);
        EXPECT_EQ(exercise().RangePos, 4);
    }
}

TEST_F(ExerciseWindow, RangeLabelsUseTheSystemsDecimalSeparator)
{
    start();
    window->setLocale(QLocale(QLocale::Czech));
    QStringList czech;
    for (int i = 0; i < 9; ++i) {
        czech << rangeLabel(i).text();
    }
    EXPECT_EQ(czech.join(QLatin1Char(' ')), QStringLiteral("0,5 1 2 5 10 20 50 100 200"));
}

} // namespace
} // namespace voltmetr::testing
