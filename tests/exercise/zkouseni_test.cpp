#include "exercise/meterface.h"
#include "exercise/zkouseni.h"
#include "programflow.h"
#include "support/scriptedhost.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
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
    QAbstractButton& rangeLabel(int index)
    {
        return *window->findChild<QAbstractButton*>(QStringLiteral("RozLB%1").arg(index));
    }
    QString caption(const char* objectName)
    {
        return window->findChild<QLabel*>(QString::fromLatin1(objectName))->text();
    }
    MeterFace& face() { return *window->findChild<MeterFace*>(QStringLiteral("Stupnice")); }
    // The window as the screen shows it within rect.
    QImage onScreen(const QRect& rect)
    {
        return window->screen()->grabWindow(window->winId()).toImage().copy(rect);
    }

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
    ProgramFlow flow{context};
    std::unique_ptr<Zkouseni> window;
};

// Within 1 % of 110 V is right. The answer counts before its window opens; the worked calculation
// uses the task's 200 V range although the pupil measured on 100 V.
TEST_F(ExerciseWindow, JudgedAnswerIsCountedBeforeItsWindowOpens)
{
    const char* const worked = "200|100| 55|(200 V / 100 dílků) *  55 dílků =|110 V";
    for (const auto& [typed, title, shown] :
         {std::tuple{"110", "Gratuluji", ""}, std::tuple{"111", "Gratuluji", ""},
          std::tuple{"108,8", "C H Y B A", worked}, std::tuple{"112", "C H Y B A", worked}}) {
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
            for (const char* name : {"Roz", "Dilk", "Ukaz", "Souh", "Vys"}) {
                if (const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name))) {
                    texts << label->text();
                }
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

// Enter answers like the button, and the box shows the text with its comma made a point, already
// while the question quotes it.
TEST_F(ExerciseWindow, EnterInTheAnswerBoxAnswers)
{
    start();
    window->RozLB_Click(8);
    vstup().setText(QStringLiteral("1,5"));
    host.answerNextMessage(MessageAnswer::No);
    QString boxWhileAsked;
    host.whileNextMessageOpen([&] { boxWhileAsked = vstup().text(); });
    QTest::keyClick(&vstup(), Qt::Key_Return);
    EXPECT_EQ(boxWhileAsked, QStringLiteral("1.5"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages[0].prompt,
        QStringLiteral("Uvedl jsi, že napětí na voltmetru je 1.5 V. \r\nJseš si opravdu jist?"));
    EXPECT_EQ(vstup().text(), QStringLiteral("1.5"));
}

TEST_F(ExerciseWindow, OverloadRefusesAnswersAndDestroysTheMeterOnce)
{
    start();
    peg();
    answer(QStringLiteral("1,5"));
    EXPECT_EQ(host.beeps, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(vstup().text(), QStringLiteral("1,5")) << "left as typed";

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
    state.RightCount = 9;
    host.queueRandom({0.7f}); // meter 4
    window->RozLB_Click(8);
    host.answerNextMessage(MessageAnswer::Yes);
    host.onNextModal(press("Command1"));
    answer(QStringLiteral("0.001"));
    EXPECT_EQ(exercise().MeterNo, 4);
    EXPECT_FALSE(rangeLabel(0).isVisible()) << "meter 4's dial";
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
            const QAbstractButton& label = rangeLabel(i);
            shown << (label.isVisible() ? label.text() : QStringLiteral("-"));
            EXPECT_EQ(label.geometry(), twipsRect(left[i + 1], top[i + 1], 270, 195)) << i;
        }
        EXPECT_EQ(shown.join(QLatin1Char(' ')).toStdString(), captions);
        QTest::mouseClick(&rangeLabel(3), Qt::LeftButton);
        EXPECT_EQ(exercise().RangePos, 4);
    }
}

// Leaving Dobry or Spatny, by their "&Konec" or by the desktop closing them, asks Konec: "&Ne"
// returns to the feedback window, "&Ano" ends the program with the judged answer counted.
TEST_F(ExerciseWindow, LeavingAFeedbackWindowAsksKonec)
{
    const ScriptedHost::ModalScript closeThenGoOn = [](QDialog& dialog) {
        closeByDesktop(dialog);
        EXPECT_TRUE(dialog.isVisible());
        buttonOf(dialog, "Command1").click();
    };
    // name; typed; how the feedback window is left; Konec's button; whether the program ends
    for (const auto& [name, typed, leave, konec, ends] :
         {std::tuple{"Dobry closed, Ne", "110", closeThenGoOn, "Command2", false},
          std::tuple{"Spatny closed, Ne", "100", closeThenGoOn, "Command2", false},
          std::tuple{"Spatny's Konec, Ano", "100", press("Command2"), "Command1", true}}) {
        SCOPED_TRACE(name);
        host.modalTitles.clear();
        start();
        window->RozLB_Click(8);
        const std::uint32_t task = exercise().taskSerial();
        host.answerNextMessage(MessageAnswer::Yes);
        host.onNextModal(leave);
        host.onNextModal(press(konec));
        int finishedUnderSummary = -1;
        if (ends) {
            host.onNextModal([&](QDialog& summary) {
                finishedUnderSummary = state.RightCount + state.WrongCount;
                summary.done(QDialog::Accepted);
            });
        }
        answer(QString::fromLatin1(typed));
        EXPECT_EQ(host.modalTitles.at(1), QStringLiteral("Konec ?"));
        EXPECT_EQ(host.modalTitles.size(), ends ? 3u : 2u);
        EXPECT_EQ(finishedUnderSummary, ends ? 1 : -1);
        EXPECT_EQ(exercise().taskSerial(), ends ? task : task + 1);
    }
}

// The connect button and the warning say what the circuit is doing.
TEST_F(ExerciseWindow, CaptionsFollowTheCircuit)
{
    start();
    const auto shown = [&] {
        return QStringLiteral("%1 | %2").arg(
            buttonOf(*window, "Pripoj").text(),
            window->findChild<QLabel*>(QStringLiteral("warning"))->isVisible()
                ? caption("warning")
                : QStringLiteral("-"));
    };
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[] {}, "Připojit | -"},
        {[&] { window->Pripoj_Click(); }, "Odpojit | -"},
        {[&] { window->casovac_Timer(); }, "Odpojit | Přístroj je přetížen !"}, // 0.5 V: pegged
        {[&] { window->CP_Timer(); }, "Odpojit | -"},
        {[&] { window->CP_Timer(); }, "Odpojit | Přístroj je přetížen !"},
        {[&] { window->Pripoj_Click(); }, "Připojit | -"},
    };
    int step = 0;
    for (const auto& [action, expected] : steps) {
        action();
        EXPECT_EQ(shown(), QString::fromUtf8(expected)) << "step " << step++;
    }
}

// The long plate is the + pole, drawn with its sign; the plates never leave their places.
TEST_F(ExerciseWindow, TheSourceShowsItsPolarity)
{
    start();
    const QLineF longLeft(3150, 60, 3150, 1020);
    const QLineF shortLeft(3150, 300, 3150, 780);
    const QLineF longRight(3270, 60, 3270, 1020);
    const QLineF shortRight(3270, 300, 3270, 780);
    for (int click = 0; click < 3; ++click) {
        const bool plusLeft = exercise().PolarityRight;
        SCOPED_TRACE(plusLeft ? "+ on the left" : "+ on the right");
        EXPECT_EQ(caption("Znam0"), plusLeft ? QStringLiteral("+") : QStringLiteral("-"));
        EXPECT_EQ(caption("Znam1"), plusLeft ? QStringLiteral("-") : QStringLiteral("+"));
        EXPECT_EQ(window->plate(0), plusLeft ? longLeft : shortLeft);
        EXPECT_EQ(window->plate(1), plusLeft ? shortRight : longRight);
        window->Prepoluj_Click();
        EXPECT_EQ(exercise().PolarityRight, !plusLeft);
    }
}

// "&Konec" and a request to close both ask Konec with the timers stopped; the window never closes
// by the request. "&Ne" and the desktop closing Konec give the countdown back where it stood.
TEST_F(ExerciseWindow, KonecStopsTheTimersAndOnlyNoResumesThem)
{
    const std::function<void(Zkouseni&)> konecButton = [](Zkouseni& w) { w.Command3_Click(); };
    const std::function<void(Zkouseni&)> closeRequest = [](Zkouseni& w) {
        EXPECT_FALSE(w.close());
    };
    // name; how Konec is asked; how it is answered; whether the countdown goes on
    for (const auto& [name, ask, reply, resumes] :
         {std::tuple{"button, Ne", konecButton, press("Command2"), true},
          std::tuple{"close request, Ne", closeRequest, press("Command2"), true},
          std::tuple{"close request, desktop closes Konec", closeRequest, closeByDesktop, true},
          std::tuple{"close request, Ano", closeRequest, press("Command1"), false}}) {
        SCOPED_TRACE(name);
        host.modalTitles.clear();
        start();
        peg();
        for (int tick = 0; tick < 5; ++tick) {
            window->CP_Timer();
        }
        bool frozen = false;
        // A structured binding is captured by name only from C++20 on and not by every
        // compiler yet: the answer is handed in through a reference of its own.
        host.onNextModal([&, &answer = reply](QDialog& dialog) {
            frozen = !window->CP().isActive() && !window->casovac().isActive();
            answer(dialog);
        });
        if (!resumes) {
            host.onNextModal([](QDialog& summary) { summary.done(QDialog::Accepted); });
        }
        ask(*window);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(frozen);
        EXPECT_EQ(host.modalTitles.front(), QStringLiteral("Konec ?"));
        EXPECT_EQ(host.modalTitles.size(), resumes ? 1u : 2u) << "Ano ends through the summary";
        EXPECT_EQ(window->CP().isActive(), resumes);
        EXPECT_EQ(exercise().BlinkCount, 5);
    }
}

// The range labels are one stop of the Tab chain; the arrows walk the shown positions and
// choose, like a click; Space chooses the focused one.
TEST_F(ExerciseWindow, TheRangeSwitchWorksByKeyboard)
{
    using Keys = std::vector<Qt::Key>;
    // name; meter draw; keys; RangePos after each key
    for (const auto& [name, meterDraw, keys, expected] :
         {std::tuple{"meter 1, nine positions", 0.1f,
                     Keys{Qt::Key_Left, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Up},
                     std::vector{1, 2, 3, 4, 3}},
          std::tuple{"meter 2, first and last hidden", 0.3f,
                     Keys{Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                          Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right},
                     std::vector{2, 2, 3, 4, 5, 6, 7, 8, 8}},
          std::tuple{"meter 4, the first hidden", 0.7f,
                     Keys{Qt::Key_Left, Qt::Key_End, Qt::Key_Right, Qt::Key_Left, Qt::Key_Left},
                     std::vector{2, 2, 3, 2, 2}}}) {
        SCOPED_TRACE(name);
        start(meterDraw);
        QApplication::setActiveWindow(window.get());
        buttonOf(*window, "Command3").setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const int first = exercise().RangePos;
        ASSERT_EQ(QApplication::focusWidget(), &rangeLabel(first - 1));
        std::vector<int> positions;
        for (const Qt::Key key : keys) {
            QTest::keyClick(QApplication::focusWidget(), key);
            positions.push_back(exercise().RangePos);
            EXPECT_EQ(QApplication::focusWidget(), &rangeLabel(exercise().RangePos - 1));
        }
        EXPECT_EQ(positions, expected);
        rangeLabel(5).setFocus();
        QTest::keyClick(&rangeLabel(5), Qt::Key_Space);
        EXPECT_EQ(exercise().RangePos, 6);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), &buttonOf(*window, "Prepoluj"));
    }
}

// Everything that moves repaints only where it was and where it goes; what the screen shows
// afterwards must equal a full repaint, on every meter and every switch position.
TEST_F(ExerciseWindow, PartialRepaintsEqualAFullRepaint)
{
    const QRect rangeArea = twipsRect(3900, 4740, 2430, 1740);
    const QRect circuitArea = twipsRect(0, 0, 6330, 1620);
    for (const float meterDraw : {0.1f, 0.3f, 0.5f, 0.7f, 0.9f}) {
        start(meterDraw);
        std::vector<int> shown;
        for (int i = 0; i < 9; ++i) {
            if (rangeLabel(i).isVisible()) {
                shown.push_back(i);
            }
        }
        for (const int from : shown) {
            for (const int to : shown) {
                window->RozLB_Click(from);
                window->repaint();
                window->RozLB_Click(to);
                QApplication::processEvents();
                const QImage afterMove = onScreen(rangeArea);
                window->repaint();
                EXPECT_EQ(afterMove, onScreen(rangeArea))
                    << "meter " << int(exercise().MeterNo) << ", " << from + 1 << " to " << to + 1;
            }
        }
        for (int click = 0; click < 2; ++click) {
            window->Prepoluj_Click();
            window->Pripoj_Click();
            QApplication::processEvents();
            const QImage afterChange = onScreen(circuitArea);
            window->repaint();
            EXPECT_EQ(afterChange, onScreen(circuitArea)) << "source and wires, click " << click;
        }
    }
}

// A screen reader hears what a sighted pupil sees, but never where the needle stands.
TEST_F(ExerciseWindow, AssistiveTechnologyHearsWhatThePupilSees)
{
    start();
    window->setLocale(QLocale(QLocale::Czech));
    const auto text = [](QObject* object, QAccessible::Text kind) {
        return QAccessible::queryAccessibleInterface(object)->text(kind);
    };
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.get())->role(), QAccessible::Window);
    EXPECT_EQ(text(&vstup(), QAccessible::Name), QStringLiteral("Naměřené napětí je:"));
    EXPECT_EQ(text(&face(), QAccessible::Name), QStringLiteral("Voltmetr"));
    EXPECT_EQ(text(&rangeLabel(0), QAccessible::Name), QStringLiteral("Rozsah 0,5 V"));

    const auto description = [&] { return text(&face(), QAccessible::Description); };
    EXPECT_EQ(description(), QStringLiteral("Stupnice má 100 dílků. Rozsah 0,5 V. Voltmetr je "
                                            "odpojen. Kladný pól zdroje je vlevo."));
    window->RozLB_Click(8);
    window->Pripoj_Click();
    for (int tick = 0; tick < 30; ++tick) {
        window->casovac_Timer();
    }
    window->Prepoluj_Click();
    EXPECT_EQ(description(), QStringLiteral("Stupnice má 100 dílků. Rozsah 200 V. Voltmetr je "
                                            "připojen. Kladný pól zdroje je vpravo."));

    window->RozLB_Click(0);
    window->Prepoluj_Click();
    window->casovac_Timer(); // pegged on 0.5 V
    QString whileDestroyed;
    host.onNextModal([&](QDialog& dialog) {
        whileDestroyed = description();
        buttonOf(dialog, "Command1").click();
    });
    for (int tick = 0; tick < 20; ++tick) {
        window->CP_Timer();
    }
    EXPECT_EQ(whileDestroyed,
              QStringLiteral("Voltmetr je zničen. Rozsah 0,5 V. Voltmetr je připojen. "
                             "Kladný pól zdroje je vlevo."));
}

} // namespace
} // namespace voltmetr::testing
