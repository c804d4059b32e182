#include "exercise/meterface.h"
#include "exercise/scalegeometry.h"
#include "windowtest.h"

#include <QTest>

namespace voltmetr::testing {
namespace {

const QString confirmation110 =
    QStringLiteral("Uvedl jsi, že napětí na voltmetru je 110 V. \r\nJseš si opravdu jist?");

TEST_F(ExerciseWindow, RightAnswerIsCountedBeforeDobryOpensAndANewTaskFollows)
{
    start({meter1, task110V});
    window->RozLB_Click(8);
    const std::uint32_t task = exercise().taskSerial();
    scripted.answerNextMessage(MessageAnswer::Yes);
    int rightWhileOpen = -1;
    scripted.onNextModal([&](QDialog& dialog) {
        rightWhileOpen = state.RightCount;
        EXPECT_EQ(textOf(dialog, "Label1"), QStringLiteral("Velmi dobře"));
        buttonOf(dialog, "Command1").click();
    });

    answer(QStringLiteral("110"));

    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].prompt, confirmation110);
    EXPECT_EQ(scripted.messages[0].title, QStringLiteral("Potvrzení výsledku"));
    EXPECT_EQ(scripted.modalTitles, std::vector<QString>{QStringLiteral("Gratuluji")});
    EXPECT_EQ(rightWhileOpen, 1);
    EXPECT_EQ(state.RightCount, 1);
    EXPECT_EQ(state.WrongCount, 0);
    EXPECT_EQ(exercise().taskSerial(), task + 1);
    EXPECT_TRUE(vstup().text().isEmpty());
}

TEST_F(ExerciseWindow, WrongAnswerShowsTheWorkedCalculationOfItsTask)
{
    start({meter1, task110V});
    window->RozLB_Click(8);
    scripted.answerNextMessage(MessageAnswer::Yes);
    std::map<std::string, QString> shown;
    int wrongWhileOpen = -1;
    scripted.onNextModal([&](QDialog& dialog) {
        wrongWhileOpen = state.WrongCount;
        for (const char* name : {"Roz", "Dilk", "Ukaz", "Souh", "Vys"}) {
            shown[name] = textOf(dialog, name);
        }
        buttonOf(dialog, "Command1").click();
    });

    answer(QStringLiteral("100"));

    EXPECT_EQ(scripted.modalTitles, std::vector<QString>{QStringLiteral("C H Y B A")});
    EXPECT_EQ(wrongWhileOpen, 1);
    EXPECT_EQ(shown["Roz"], QStringLiteral("200"));
    EXPECT_EQ(shown["Dilk"], QStringLiteral("100"));
    EXPECT_EQ(shown["Ukaz"], QStringLiteral(" 55"));
    EXPECT_EQ(shown["Souh"], QStringLiteral("(200 V / 100 dílků) *  55 dílků ="));
    EXPECT_EQ(shown["Vys"], QStringLiteral("110 V"));
    EXPECT_EQ(state.WrongCount, 1);
    EXPECT_EQ(state.RightCount, 0);
}

TEST_F(ExerciseWindow, RefusedAnswersLeaveTheTaskAndTheTextInPlace)
{
    struct Case
    {
        const char* name;
        int rangeIndex; // the label the pupil clicked
        const char* typed;
        const char* shownBack;
        const char* prompt;
        const char* title;
        MessageStyle style;
    };
    // Meter 3, task of 22 V drawn on 120 V: the 24 V range (position 7) is the right one.
    const Case cases[] = {
        {"range too large", 7, "22", "22",
         "Máš nastaven zbytečně veliký rozsah. Měření je nepřesné!", "Upozornění",
         MessageStyle::OkInformation},
        {"not a number", 6, "abc", "abc", "Napětí bylo zadáno špatně!", "Chyba",
         MessageStyle::OkCritical},
        {"decimal comma made a point", 6, "-1,5", "-1.5", "Napětí bylo zadáno špatně!", "Chyba",
         MessageStyle::OkCritical},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scripted.messages.clear();
        start({{0.5f}, {0.9f, 0.1f, 0.2f}});
        ASSERT_EQ(exercise().MeterNo, 3);
        ASSERT_EQ(exercise().BestRange, 7);
        window->RozLB_Click(c.rangeIndex);
        const std::uint32_t task = exercise().taskSerial();

        answer(QString::fromUtf8(c.typed));

        ASSERT_EQ(scripted.messages.size(), 1u);
        EXPECT_EQ(scripted.messages[0].prompt, QString::fromUtf8(c.prompt));
        EXPECT_EQ(scripted.messages[0].title, QString::fromUtf8(c.title));
        EXPECT_EQ(scripted.messages[0].style, c.style);
        EXPECT_EQ(vstup().text(), QString::fromUtf8(c.shownBack));
        EXPECT_EQ(exercise().taskSerial(), task);
        EXPECT_EQ(state.RightCount + state.WrongCount, 0);
    }
}

TEST_F(ExerciseWindow, AnswerWhileTheMeterIsOverloadedOnlyBeeps)
{
    start({meter1, task110V});
    peg();
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("warning"))->isVisible());
    EXPECT_FALSE(window->casovac().isActive());

    answer(QStringLiteral("110"));

    EXPECT_EQ(scripted.beeps, 1);
    EXPECT_TRUE(scripted.messages.empty());
    EXPECT_EQ(vstup().text(), QStringLiteral("110"));
    EXPECT_TRUE(window->CP().isActive());
}

TEST_F(ExerciseWindow, DestroyedMeterIsCountedOnceAndANewTaskFollows)
{
    start({meter1, task110V});
    peg();
    const std::uint32_t task = exercise().taskSerial();
    auto* face = window->findChild<MeterFace*>(QStringLiteral("Stupnice"));
    bool destroyedWhileOpen = false;
    bool needleShownWhileOpen = true;
    int wrongWhileOpen = -1;
    scripted.onNextModal([&](QDialog& dialog) {
        destroyedWhileOpen = face->showsDestroyedMeter();
        needleShownWhileOpen = face->needleVisible();
        wrongWhileOpen = state.WrongCount;
        EXPECT_FALSE(window->CP().isActive());
        buttonOf(dialog, "Command1").click();
    });

    for (int tick = 0; tick < 19; ++tick) {
        window->CP_Timer();
    }
    EXPECT_TRUE(scripted.modalTitles.empty()) << "destroyed before the 20th tick";
    window->CP_Timer();

    EXPECT_EQ(scripted.modalTitles, std::vector<QString>{QStringLiteral("C H Y B A")});
    EXPECT_TRUE(destroyedWhileOpen);
    EXPECT_FALSE(needleShownWhileOpen);
    EXPECT_EQ(wrongWhileOpen, 1);
    EXPECT_EQ(state.WrongCount, 1);
    EXPECT_EQ(exercise().taskSerial(), task + 1);
    EXPECT_FALSE(face->showsDestroyedMeter());
    EXPECT_TRUE(face->needleVisible());
    EXPECT_FALSE(window->CP().isActive());
    EXPECT_FALSE(exercise().Connected);
    EXPECT_EQ(buttonOf(*window, "Pripoj").text(), QStringLiteral("Připojit"));
}

TEST_F(ExerciseWindow, MeterChangesAfterTheTenthFinishedTask)
{
    start({meter1, task110V});
    for (int i = 0; i < 9; ++i) {
        scripted.queueRandom(task110V);
    }
    scripted.queueRandom({0.7f}); // meter 4, with its 8-position dial
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(exercise().MeterNo, 1) << "after " << i << " answers";
        scripted.answerNextMessage(MessageAnswer::Yes);
        scripted.onNextModal(press("Command1"));
        answer(QStringLiteral("0.001"));
    }

    const AskedMessage& last = scripted.messages.back();
    EXPECT_EQ(last.prompt, QStringLiteral("Provedl jsi 10 měření. Pozor měním měřák."));
    EXPECT_EQ(last.title, QStringLiteral("Nový měřák"));
    EXPECT_EQ(last.style, MessageStyle::OkInformation);
    EXPECT_EQ(state.WrongCount, 10);
    EXPECT_EQ(exercise().MeterNo, 4);
    EXPECT_EQ(exercise().RangePos, 2);
    EXPECT_FALSE(rangeLabel(0).isVisible());
    EXPECT_TRUE(rangeLabel(8).isVisible());
    EXPECT_EQ(window->knobPointer().p1(), QPointF(4760, 5900));
}

TEST_F(ExerciseWindow, EnterInTheAnswerBoxAnswersLikeTheButton)
{
    start({meter1, task110V});
    window->RozLB_Click(8);
    vstup().setText(QStringLiteral("110"));
    scripted.answerNextMessage(MessageAnswer::No);
    QTest::keyClick(&vstup(), Qt::Key_Return);
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].prompt, confirmation110);
    EXPECT_EQ(vstup().text(), QStringLiteral("110"));
    EXPECT_EQ(state.RightCount + state.WrongCount, 0);
}

// An overload that begins while the feedback window is open belongs to the task just
// answered: the next task starts without it.
TEST_F(ExerciseWindow, OverloadOfAnAnsweredTaskEndsWithIt)
{
    start({meter1, task110V});
    window->Pripoj_Click(); // on the 0.5 V range: the needle will peg at the first tick
    scripted.answerNextMessage(MessageAnswer::Yes);
    scripted.onNextModal([&](QDialog& dialog) {
        window->casovac_Timer();
        EXPECT_TRUE(window->CP().isActive());
        buttonOf(dialog, "Command1").click();
    });

    answer(QStringLiteral("110"));

    EXPECT_FALSE(window->CP().isActive());
    EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("warning"))->isVisible());
    EXPECT_EQ(exercise().BlinkCount, 0);
    EXPECT_EQ(state.RightCount, 1);
}

// The meter is destroyed while the pupil still reads the confirmation: the answer belonged to
// the destroyed task and is dropped, so only the destruction counts.
TEST_F(ExerciseWindow, AnswerConfirmedAfterItsMeterWasDestroyedIsDropped)
{
    start({meter1, task110V});
    window->Pripoj_Click();
    scripted.answerNextMessage(MessageAnswer::Yes);
    scripted.onNextModal(press("Command1")); // Merak_KO
    host.whileNextMessageIsOpen = [&] {
        window->casovac_Timer();
        for (int tick = 0; tick < 20; ++tick) {
            window->CP_Timer();
        }
    };

    answer(QStringLiteral("110"));

    EXPECT_EQ(scripted.modalTitles, std::vector<QString>{QStringLiteral("C H Y B A")});
    EXPECT_EQ(state.WrongCount, 1);
    EXPECT_EQ(state.RightCount, 0);
    EXPECT_TRUE(vstup().text().isEmpty());
}

TEST_F(ExerciseWindow, CircuitButtonsRedrawWiresAndSource)
{
    start({meter1, task110V});
    ASSERT_TRUE(exercise().PolarityRight);
    EXPECT_FALSE(window->wiresVisible());
    const QLineF longLeft = window->plate(0);
    const QLineF shortRight = window->plate(1);
    EXPECT_EQ(longLeft, QLineF(3150, 60, 3150, 1020));
    EXPECT_EQ(shortRight, QLineF(3270, 300, 3270, 780));

    window->Pripoj_Click();
    EXPECT_TRUE(window->wiresVisible());
    EXPECT_EQ(buttonOf(*window, "Pripoj").text(), QStringLiteral("Odpojit"));
    EXPECT_TRUE(window->casovac().isActive());

    window->Prepoluj_Click();
    EXPECT_EQ(window->plate(0), QLineF(3150, 300, 3150, 780));
    EXPECT_EQ(window->plate(1), QLineF(3270, 60, 3270, 1020));
    EXPECT_EQ(textOf(*window, "Znam0"), QStringLiteral("-"));
    EXPECT_EQ(textOf(*window, "Znam1"), QStringLiteral("+"));

    window->Prepoluj_Click();
    EXPECT_EQ(window->plate(0), longLeft);
    EXPECT_EQ(window->plate(1), shortRight);
    EXPECT_EQ(textOf(*window, "Znam0"), QStringLiteral("+"));

    window->Pripoj_Click();
    EXPECT_FALSE(window->wiresVisible());
    EXPECT_EQ(buttonOf(*window, "Pripoj").text(), QStringLiteral("Připojit"));
}

TEST_F(ExerciseWindow, NeedleFollowsTheMotionAndSettlesOnTheReading)
{
    start({meter1, task110V});
    window->RozLB_Click(8);
    window->Pripoj_Click();
    auto* face = window->findChild<MeterFace*>(QStringLiteral("Stupnice"));
    for (int tick = 0; tick < 500 && window->casovac().isActive(); ++tick) {
        window->casovac_Timer();
    }
    EXPECT_FALSE(window->casovac().isActive());
    // 110 V on the 200 V range: 55 divisions, at 55 + 0.55 x 70 degrees, give or take the
    // settling margin.
    EXPECT_LT(QLineF(face->needleLine().p1(), scale::needleAt(93.5f).p1()).length(), 10);
}

} // namespace
} // namespace voltmetr::testing
