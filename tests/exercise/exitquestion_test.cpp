#include "ui/konec.h"
#include "windowtest.h"

#include <QApplication>
#include <QTest>

namespace voltmetr::testing {
namespace {

// How the pupil leaves a window: its buttons, its keys, or the desktop closing it.
using Leave = std::function<void(QDialog&)>;

Leave clickButton(const char* objectName)
{
    return press(objectName);
}
Leave key(Qt::Key k)
{
    return [k](QDialog& dialog) { QTest::keyClick(&dialog, k); };
}
// An access key clicks its button a moment later, as a mouse click that can be seen.
Leave accessKey(Qt::Key k)
{
    return [k](QDialog& dialog) {
        auto clicked = std::make_shared<bool>(false);
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            QObject::connect(button, &QPushButton::clicked, &dialog,
                             [clicked] { *clicked = true; });
        }
        QApplication::setActiveWindow(&dialog);
        QTest::keyClick(&dialog, k, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([clicked] { return *clicked; }, 1000));
    };
}
Leave desktopClose()
{
    return [](QDialog& dialog) { dialog.close(); };
}

struct ResumeCase
{
    const char* name;
    bool pegged;
    bool moving;
};

// "&Ne" puts back both timers as they stood, and the countdown and the motion go on from
// where they were.
TEST_F(ExerciseWindow, KonecNoResumesTheExerciseWhereItStood)
{
    const ResumeCase cases[] = {
        {"resting", false, false},
        {"moving", false, true},
        {"pegged", true, false},
    };
    for (const ResumeCase& c : cases) {
        SCOPED_TRACE(c.name);
        scripted.modalTitles.clear();
        start({meter1, task110V});
        if (c.pegged) {
            peg();
            for (int tick = 0; tick < 5; ++tick) {
                window->CP_Timer();
            }
        }
        if (c.moving) {
            window->RozLB_Click(8);
            window->Pripoj_Click();
            window->casovac_Timer();
        }
        const std::int16_t blinks = exercise().BlinkCount;
        const float motionTime = exercise().motion.MotionTime;
        bool frozen = false;
        scripted.onNextModal([&](QDialog& dialog) {
            frozen = !window->CP().isActive() && !window->casovac().isActive();
            buttonOf(dialog, "Command2").click();
        });

        window->Command3_Click();

        EXPECT_EQ(scripted.modalTitles, std::vector<QString>{QStringLiteral("Konec ?")});
        EXPECT_TRUE(frozen);
        EXPECT_EQ(window->CP().isActive(), c.pegged);
        EXPECT_EQ(window->casovac().isActive(), c.moving);
        EXPECT_EQ(exercise().BlinkCount, blinks);
        EXPECT_EQ(exercise().motion.MotionTime, motionTime);
        EXPECT_FALSE(scripted.ended);
    }
}

struct NoCase
{
    const char* name;
    Leave leave;
};

// Esc, Enter on the focused "&Ne" and the desktop closing the question all mean "&Ne", so the
// exercise's timers always come back.
TEST_F(ExerciseWindow, EveryWayOutOfKonecButAnoMeansNo)
{
    const NoCase cases[] = {
        {"button", clickButton("Command2")},
        {"Esc", key(Qt::Key_Escape)},
        {"Enter on the first focus", key(Qt::Key_Return)},
        {"desktop close", desktopClose()},
    };
    for (const NoCase& c : cases) {
        SCOPED_TRACE(c.name);
        start({meter1, task110V});
        peg();
        scripted.onNextModal(c.leave);
        window->Command3_Click();
        EXPECT_TRUE(window->CP().isActive());
        EXPECT_FALSE(scripted.ended);
        EXPECT_EQ(scripted.pendingScripts(), 0u);
    }
}

TEST_F(ExerciseWindow, KonecAnoOpensTheSummaryWithTheTimersStopped)
{
    start({meter1, task110V});
    peg();
    scripted.onNextModal(press("Command1"));
    bool cpStoppedUnderSummary = false;
    scripted.onNextModal([&](QDialog& summary) {
        cpStoppedUnderSummary = !window->CP().isActive();
        summary.accept();
    });

    window->Command3_Click();

    EXPECT_EQ(scripted.modalTitles,
              (std::vector<QString>{QStringLiteral("Konec ?"), QStringLiteral("Souhrn")}));
    EXPECT_TRUE(cpStoppedUnderSummary);
}

// An answer judged in Spatny stays counted when the pupil leaves through its "&Konec".
TEST_F(ExerciseWindow, LeavingFromSpatnyKeepsTheJudgedAnswer)
{
    start({meter1, task110V});
    window->RozLB_Click(8);
    const std::uint32_t task = exercise().taskSerial();
    scripted.answerNextMessage(MessageAnswer::Yes);
    scripted.onNextModal(press("Command2")); // Spatny: "&Konec"
    scripted.onNextModal(press("Command1")); // Konec: "&Ano"
    int wrongUnderSummary = -1;
    scripted.onNextModal([&](QDialog& summary) {
        wrongUnderSummary = state.WrongCount;
        // The summary's own way to the end of the program is not this window's concern.
        summary.done(QDialog::Accepted);
    });

    answer(QStringLiteral("100"));

    EXPECT_EQ(scripted.modalTitles,
              (std::vector<QString>{QStringLiteral("C H Y B A"), QStringLiteral("Konec ?"),
                                    QStringLiteral("Souhrn")}));
    EXPECT_EQ(wrongUnderSummary, 1);
    EXPECT_EQ(exercise().taskSerial(), task) << "no new task after the program ended";
}

TEST_F(ExerciseWindow, KonecNoFromDobryReturnsToIt)
{
    start({meter1, task110V});
    window->RozLB_Click(8);
    scripted.answerNextMessage(MessageAnswer::Yes);
    QString textAfterReturn;
    scripted.onNextModal([&](QDialog& dobry) {
        buttonOf(dobry, "Command2").click();
        EXPECT_TRUE(dobry.isVisible());
        textAfterReturn = textOf(dobry, "Label2");
        buttonOf(dobry, "Command1").click();
    });
    scripted.onNextModal(press("Command2")); // Konec: "&Ne"

    answer(QStringLiteral("110"));

    EXPECT_EQ(textAfterReturn,
              QStringLiteral("Na poslední otázku jsi odpověděl naprosto správně."));
    EXPECT_EQ(state.RightCount, 1);
    EXPECT_FALSE(scripted.ended);
}

struct FeedbackKeyCase
{
    const char* name;
    bool right;
    Leave leave;
    bool asksToEnd;
};

// Enter continues; Esc and the desktop closing the window act as its "&Konec".
TEST_F(ExerciseWindow, FeedbackWindowsAnswerTheirKeys)
{
    const FeedbackKeyCase cases[] = {
        {"Dobry, Enter", true, key(Qt::Key_Return), false},
        {"Dobry, Esc", true, key(Qt::Key_Escape), true},
        {"Dobry, desktop close", true, desktopClose(), true},
        {"Dobry, Alt+P", true, accessKey(Qt::Key_P), false},
        {"Spatny, Alt+K", false, accessKey(Qt::Key_K), true},
        {"Spatny, Enter", false, key(Qt::Key_Return), false},
        {"Spatny, Esc", false, key(Qt::Key_Escape), true},
        {"Spatny, desktop close", false, desktopClose(), true},
    };
    for (const FeedbackKeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        scripted.modalTitles.clear();
        start({meter1, task110V});
        window->RozLB_Click(8);
        scripted.answerNextMessage(MessageAnswer::Yes);
        bool closedByLeaving = false;
        scripted.onNextModal([&](QDialog& dialog) {
            c.leave(dialog);
            closedByLeaving = !dialog.isVisible();
            if (dialog.isVisible()) {
                buttonOf(dialog, "Command1").click();
            }
        });
        if (c.asksToEnd) {
            scripted.onNextModal(press("Command2"));
        }
        answer(c.right ? QStringLiteral("110") : QStringLiteral("1"));
        EXPECT_EQ(closedByLeaving, !c.asksToEnd);
        EXPECT_EQ(scripted.modalTitles.size(), c.asksToEnd ? 2u : 1u);
        if (c.asksToEnd) {
            EXPECT_EQ(scripted.modalTitles[1], QStringLiteral("Konec ?"));
        }
        EXPECT_EQ(scripted.pendingScripts(), 0u);
    }
}

// Merak_KO has one button, and Enter, Esc and the desktop all press it.
TEST_F(ExerciseWindow, DestroyedMeterNoticeAcknowledgesEveryWayOut)
{
    for (const Leave& leave : {key(Qt::Key_Return), key(Qt::Key_Escape), desktopClose()}) {
        start({meter1, task110V});
        peg();
        scripted.onNextModal(leave);
        const std::uint32_t task = exercise().taskSerial();
        for (int tick = 0; tick < 20; ++tick) {
            window->CP_Timer();
        }
        EXPECT_EQ(exercise().taskSerial(), task + 1);
        EXPECT_EQ(scripted.pendingScripts(), 0u);
    }
}

struct ExerciseExitCase
{
    const char* name;
    std::function<void(Zkouseni&)> ask;
};

// The exercise window asks before it ends and never closes itself.
TEST_F(ExerciseWindow, ExerciseWindowAsksAndStays)
{
    const ExerciseExitCase cases[] = {
        {"Konec button", [](Zkouseni& w) { buttonOf(w, "Command3").click(); }},
        {"Esc", [](Zkouseni& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"Alt+K",
         [this](Zkouseni& w) {
             QTest::keyClick(&w, Qt::Key_K, Qt::AltModifier);
             EXPECT_TRUE(QTest::qWaitFor([this] { return !scripted.modalTitles.empty(); }, 1000));
         }},
        {"desktop close", [](Zkouseni& w) { w.close(); }},
    };
    for (const ExerciseExitCase& c : cases) {
        SCOPED_TRACE(c.name);
        scripted.modalTitles.clear();
        start({meter1, task110V});
        QApplication::setActiveWindow(window.get());
        scripted.onNextModal(press("Command2"));
        c.ask(*window);
        EXPECT_EQ(scripted.modalTitles, std::vector<QString>{QStringLiteral("Konec ?")});
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(scripted.pendingScripts(), 0u);
    }
}

} // namespace
} // namespace voltmetr::testing
