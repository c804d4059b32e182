#include "windowtest.h"

#include <QTest>

namespace voltmetr::testing {
namespace {

// "&Ne" puts back both timers as they stood, and the countdown and the motion go on from
// where they were.
TEST_F(ExerciseWindow, KonecNoResumesTheExerciseWhereItStood)
{
    for (const bool pegged : {true, false}) {
        SCOPED_TRACE(pegged ? "pegged" : "moving");
        start();
        if (pegged) {
            peg();
            for (int tick = 0; tick < 5; ++tick) {
                window->CP_Timer();
            }
        } else {
            window->RozLB_Click(8);
            window->Pripoj_Click();
            window->casovac_Timer();
        }
        const std::int16_t blinks = exercise().BlinkCount;
        const float motionTime = exercise().motion.MotionTime;
        bool frozen = false;
        host.onNextModal([&](QDialog& dialog) {
            frozen = !window->CP().isActive() && !window->casovac().isActive();
            buttonOf(dialog, "Command2").click();
        });
        window->Command3_Click();
        EXPECT_TRUE(frozen);
        EXPECT_EQ(window->CP().isActive(), pegged);
        EXPECT_EQ(window->casovac().isActive(), !pegged);
        EXPECT_EQ(exercise().BlinkCount, blinks);
        EXPECT_EQ(exercise().motion.MotionTime, motionTime);
        EXPECT_FALSE(host.ended);
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
    EXPECT_EQ(host.modalTitles,
              (std::vector<QString>{QStringLiteral("C H Y B A"), QStringLiteral("Konec ?"),
                                    QStringLiteral("Souhrn")}));
    EXPECT_EQ(wrongUnderSummary, 1);
    EXPECT_EQ(exercise().taskSerial(), task) << "no new task after the program ended";
}

void closeByDesktop(QDialog& dialog)
{
    dialog.close();
}

// The desktop closing a window acts as its "&Ne" or "&Konec", or as its only button.
TEST_F(ExerciseWindow, DesktopCloseActsAsTheWindowsWayOut)
{
    const auto konec = [this] {
        peg();
        host.onNextModal(closeByDesktop);
        window->Command3_Click();
        EXPECT_TRUE(window->CP().isActive()) << "the countdown comes back";
    };
    const auto feedback = [this](const char* typed) {
        return [this, typed] {
            window->RozLB_Click(8);
            host.answerNextMessage(MessageAnswer::Yes);
            host.onNextModal([](QDialog& dialog) {
                closeByDesktop(dialog);
                EXPECT_TRUE(dialog.isVisible()) << "Konec's \"&Ne\" returns to the window";
                buttonOf(dialog, "Command1").click();
            });
            host.onNextModal(press("Command2")); // Konec: "&Ne"
            answer(QString::fromLatin1(typed));
        };
    };
    const auto merakKO = [this] {
        peg();
        host.onNextModal([](QDialog& dialog) {
            EXPECT_EQ(buttonOf(dialog, "Command1").text(), QStringLiteral("Beru na vědomí"));
            closeByDesktop(dialog);
        });
        for (int tick = 0; tick < 20; ++tick) {
            window->CP_Timer();
        }
    };
    // how the window opens, the windows that open, whether a next task follows
    for (const auto& [open, titles, nextTask] :
         {std::tuple{std::function<void()>(konec), "Konec ?", false},
          std::tuple{std::function<void()>(feedback("110")), "Gratuluji|Konec ?", true},
          std::tuple{std::function<void()>(feedback("100")), "C H Y B A|Konec ?", true},
          std::tuple{std::function<void()>(merakKO), "C H Y B A", true}}) {
        SCOPED_TRACE(titles);
        host.modalTitles.clear();
        start();
        const std::uint32_t task = exercise().taskSerial();
        open();
        EXPECT_EQ(QStringList(host.modalTitles.begin(), host.modalTitles.end())
                      .join(QLatin1Char('|'))
                      .toStdString(),
                  titles);
        EXPECT_EQ(exercise().taskSerial(), task + (nextTask ? 1 : 0));
        EXPECT_EQ(host.pendingScripts(), 0u);
        EXPECT_FALSE(host.ended);
    }
}

} // namespace
} // namespace voltmetr::testing
