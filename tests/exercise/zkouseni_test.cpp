#include "app/procedury.h"
#include "exercise/meterface.h"
#include "exercise/metermodel.h"
#include "exercise/spatny.h"
#include "support/metercatalogue.h"
#include "support/windowfixture.h"
#include "ui/designelements.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QButtonGroup>
#include <QDialog>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <functional>
#include <memory>

namespace voltmetr::testing {
namespace {

using namespace Qt::StringLiterals;

class ExerciseWindow : public WindowFixture
{
protected:
    static ScriptedHost::ModalScript press(const char* objectName)
    {
        return [objectName](QDialog& dialog) { child(dialog, objectName).click(); };
    }
    static void closeByDesktop(QDialog& dialog) { dialog.close(); }

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
    QLineEdit& vstup() { return child<QLineEdit>(*window, "Vstup"); }
    QAbstractButton& rangeLabel(int index)
    {
        return *window->findChild<QAbstractButton*>(QStringLiteral("RozLB%1").arg(index));
    }
    QString caption(const char* objectName) { return child<QLabel>(*window, objectName).text(); }
    MeterFace& face() { return child<MeterFace>(*window, "Stupnice"); }
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

    std::unique_ptr<Zkouseni> window;
};

// A judged answer counts before its window opens: Dobry within 1 % of 110 V, else Spatny with
// the worked calculation on the task's 200 V range, although the pupil measured on 100 V.
// Leaving either by "&Konec" or by the desktop closing it asks Konec: "&Ne" returns to the
// window, "&Ano" ends the program through the summary.
TEST_F(ExerciseWindow, AJudgedAnswerCountsBeforeItsWindowShows)
{
    const char* const worked = "200|100| 55|(200 V / 100 dílků) *  55 dílků =|110 V";
    const ScriptedHost::ModalScript closeThenGoOn = [](QDialog& dialog) {
        closeByDesktop(dialog);
        EXPECT_TRUE(dialog.isVisible());
        click(dialog, "Command1");
    };
    // name; typed; the window's title and calculation; how it is left; Konec's button or none
    for (const auto& [name, typed, title, shown, leave, konec] :
         {std::tuple{"right", "110", "Gratuluji", "", press("Command1"), ""},
          std::tuple{"wrong", "112", "C H Y B A", worked, press("Command1"), ""},
          std::tuple{"Dobry closed, Ne", "111", "Gratuluji", "", closeThenGoOn, "Command2"},
          std::tuple{"Spatny closed, Ne", "108,8", "C H Y B A", worked, closeThenGoOn, "Command2"},
          std::tuple{"Spatny's Konec, Ano", "112", "C H Y B A", worked, press("Command2"),
                     "Command1"}}) {
        SCOPED_TRACE(name);
        host.modalTitles.clear();
        start();
        window->RozLB_Click(7);
        const std::uint32_t task = exercise().taskSerial();
        host.answerNextMessage(MessageAnswer::Yes);
        QStringList texts;
        int finishedWhileOpen = -1;
        host.onNextModal([&, &leaveBy = leave](QDialog& dialog) {
            finishedWhileOpen = state.RightCount + state.WrongCount;
            for (const char* label : {"Roz", "Dilk", "Ukaz", "Souh", "Vys"}) {
                if (const auto* found = dialog.findChild<QLabel*>(QString::fromLatin1(label))) {
                    texts << found->text();
                }
            }
            leaveBy(dialog);
        });
        const bool asked = *konec != 0;
        const bool ends = std::string_view(konec) == "Command1";
        if (asked) {
            host.onNextModal(press(konec));
        }
        if (ends) {
            host.onNextModal([](QDialog& summary) { summary.done(QDialog::Accepted); });
        }
        answer(QString::fromUtf8(typed));
        EXPECT_EQ(host.modalTitles.front(), QString::fromUtf8(title));
        EXPECT_EQ(texts.join(QLatin1Char('|')), QString::fromUtf8(shown));
        EXPECT_EQ(finishedWhileOpen, 1);
        EXPECT_EQ(host.modalTitles.size(), 1u + (asked ? 1 : 0) + (ends ? 1 : 0));
        if (asked) {
            EXPECT_EQ(host.modalTitles.at(1), QStringLiteral("Konec ?"));
        }
        EXPECT_EQ(exercise().taskSerial(), ends ? task : task + 1);
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
    bool destroyedWhileOpen = false;
    host.onNextModal([&](QDialog& dialog) {
        destroyedWhileOpen = face().showsDestroyedMeter() &&
                             QAccessible::queryAccessibleInterface(&face())
                                 ->text(QAccessible::Description)
                                 .startsWith(QStringLiteral("Voltmetr je zničen. Rozsah "));
        EXPECT_EQ(child(dialog, "Command1").text(), QStringLiteral("Beru na vědomí"));
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

// Hidden labels show as "-"; the captions follow the system's decimal separator; the switch's
// pointer turns on the meter's own dial.
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
        EXPECT_EQ(window->knobPointer().p1(), eight ? QPointF(4960, 5580) : QPointF(5110, 5500));
    }
}

// The connect button, the warning, the source's signs and plates (the long one is the + pole)
// and what a screen reader hears of the face follow the circuit; the reader never hears where
// the needle stands.
TEST_F(ExerciseWindow, WhatTheWindowShowsFollowsTheCircuit)
{
    start();
    window->setLocale(QLocale(QLocale::Czech));
    const auto accessible = [](QObject* object, QAccessible::Text kind) {
        return QAccessible::queryAccessibleInterface(object)->text(kind);
    };
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.get())->role(), QAccessible::Window);
    EXPECT_EQ(accessible(&vstup(), QAccessible::Name), QStringLiteral("Naměřené napětí je:"));
    EXPECT_EQ(accessible(&face(), QAccessible::Name), QStringLiteral("Voltmetr"));
    EXPECT_EQ(accessible(&rangeLabel(0), QAccessible::Name), QStringLiteral("Rozsah 0,5 V"));
    const QLineF longLeft(3150, 60, 3150, 1020);
    const QLineF shortRight(3270, 300, 3270, 780);
    const QLineF shortLeft(3150, 300, 3150, 780);
    const QLineF longRight(3270, 60, 3270, 1020);
    const auto shown = [&] {
        const bool warning = child<QLabel>(*window, "warning").isVisible();
        const bool plusLeft = window->plate(0) == longLeft && window->plate(1) == shortRight;
        const bool plusRight = window->plate(0) == shortLeft && window->plate(1) == longRight;
        return QStringList{child(*window, "Pripoj").text(),
                           warning ? caption("warning") : QStringLiteral("-"),
                           caption("Znam0") + caption("Znam1"),
                           plusLeft    ? QStringLiteral("long left")
                           : plusRight ? QStringLiteral("long right")
                                       : QStringLiteral("?"),
                           accessible(&face(), QAccessible::Description)}
            .join(QStringLiteral(" | "));
    };
    // What the face says on the 100-division meter: range, connection, the side of the + pole.
    const auto said = [](const char* range, const char* connected, const char* side) {
        return QStringLiteral("Stupnice má 100 dílků. Rozsah %1 V. Voltmetr je %2. Kladný pól "
                              "zdroje je %3.")
            .arg(QString::fromUtf8(range), QString::fromUtf8(connected), QString::fromUtf8(side));
    };
    const QString quiet = QStringLiteral("Odpojit | - | -+ | long right | ");
    const QString warned = QStringLiteral("Odpojit | Přístroj je přetížen ! | -+ | long right | ");
    const std::pair<std::function<void()>, QString> steps[] = {
        {[] {}, u"Připojit | - | +- | long left | "_s + said("0,5", "odpojen", "vlevo")},
        {[&] { window->Prepoluj_Click(); },
         u"Připojit | - | -+ | long right | "_s + said("0,5", "odpojen", "vpravo")},
        {[&] { window->Pripoj_Click(); }, quiet + said("0,5", "připojen", "vpravo")},
        // pegged at the lower stop, and the warning blinks
        {[&] { window->casovac_Timer(); }, warned + said("0,5", "připojen", "vpravo")},
        {[&] { window->CP_Timer(); }, quiet + said("0,5", "připojen", "vpravo")},
        {[&] { window->CP_Timer(); }, warned + said("0,5", "připojen", "vpravo")},
        {[&] { window->RozLB_Click(8); }, quiet + said("200", "připojen", "vpravo")},
        {[&] { window->Pripoj_Click(); },
         u"Připojit | - | -+ | long right | "_s + said("200", "odpojen", "vpravo")},
    };
    int step = 0;
    for (const auto& [action, expected] : steps) {
        action();
        EXPECT_EQ(shown(), expected) << "step " << step++;
    }
}

// "&Konec", Esc and a request to close all ask Konec with the timers stopped; the window never
// closes by the request. "&Ne" and the desktop closing Konec give the countdown back where it
// stood; "&Ano" ends through the summary.
TEST_F(ExerciseWindow, KonecStopsTheTimersAndOnlyNoResumesThem)
{
    using Ask = std::function<void(Zkouseni&)>;
    const Ask konecButton = [](Zkouseni& w) { w.Command3_Click(); };
    const Ask closeRequest = [](Zkouseni& w) { EXPECT_FALSE(w.close()); };
    const auto escapeIn = [](const char* focused) -> Ask {
        return [focused](Zkouseni& w) {
            QApplication::setActiveWindow(&w);
            QWidget& widget = child<QWidget>(w, focused);
            widget.setFocus();
            QTest::keyClick(&widget, Qt::Key_Escape);
        };
    };
    // name; how Konec is asked; how it is answered; whether the countdown goes on
    for (const auto& [name, ask, reply, resumes] :
         {std::tuple{"button, Ne", konecButton, press("Command2"), true},
          std::tuple{"Esc in the answer box, Ne", escapeIn("Vstup"), press("Command2"), true},
          std::tuple{"Esc on the connect button, Ano", escapeIn("Pripoj"), press("Command1"),
                     false},
          std::tuple{"close request, Ne", closeRequest, press("Command2"), true},
          std::tuple{"close request, desktop closes Konec", closeRequest,
                     ScriptedHost::ModalScript(closeByDesktop), true},
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

// The Tab chain runs through the circuit's buttons and the answer row to the range labels, which
// are one stop; the arrows walk the shown positions and choose, like a click; Space chooses the
// focused label and presses the focused button.
TEST_F(ExerciseWindow, TheWindowWorksByKeyboard)
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
        child(*window, "Prepoluj").setFocus();
        QStringList chain;
        for (int stop = 0; stop < 5; ++stop) {
            chain << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(chain.join(u' '), QStringLiteral("Prepoluj Pripoj Vstup Contin Command3"));
        ASSERT_EQ(QApplication::focusWidget(), &rangeLabel(exercise().RangePos - 1));
        std::vector<int> positions;
        for (const Qt::Key key : keys) {
            QTest::keyClick(QApplication::focusWidget(), key);
            positions.push_back(exercise().RangePos);
            EXPECT_EQ(QApplication::focusWidget(), &rangeLabel(exercise().RangePos - 1));
        }
        EXPECT_EQ(positions, expected);
        // A click takes the focus and its highlight along, and the next arrow steps from there.
        QTest::mouseClick(&rangeLabel(4), Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), &rangeLabel(4));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        EXPECT_EQ(exercise().RangePos, 6);
        rangeLabel(2).setFocus();
        QTest::keyClick(&rangeLabel(2), Qt::Key_Space);
        EXPECT_EQ(exercise().RangePos, 3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        EXPECT_TRUE(exercise().Connected) << "from the switch round to Pripoj, which Space presses";
    }
}

// The arrows step over a hidden choice to the next shown one and choose it.
TEST(ChoiceLabels, ArrowsStepOverAHiddenChoice)
{
    QWidget window;
    QButtonGroup choices;
    std::array<ChoiceLabel*, 3> labels{};
    for (int i = 0; i < 3; ++i) {
        labels.at(i) = new ChoiceLabel(&window);
        choices.addButton(labels.at(i), i);
    }
    labels[1]->hide();
    window.show();
    QApplication::setActiveWindow(&window);
    labels[0]->setChecked(true);
    labels[0]->setFocus();
    QTest::keyClick(labels[0], Qt::Key_Right);
    EXPECT_EQ(choices.checkedId(), 2);
    EXPECT_EQ(QApplication::focusWidget(), labels[2]);
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

// The widest calculation of all the tasks the catalogue can give keeps its text and the design's
// box, which ends short of the frame line, and fits within it: at the design's font it would run
// past the frame.
TEST_F(ExerciseWindow, TheLongestCalculationFitsSpatnysLabel)
{
    MeterTables& tables = state.tables;
    FillTables(tables);
    const AnswerFeedback::AskToEnd neverAsked = [](QWidget&) { return false; };
    const QRect box = twipsRect(1920, 2280, 2670, 240);
    Spatny plain(WorkedCalculation{}, neverAsked);
    const QFont designed = child<QLabel>(plain, "Souh").font();
    WorkedCalculation widest;
    double widestAdvance = 0;
    for (const DrawableTask& task : drawableTasks()) {
        const MeterType& meter = tables.Meters[task.meterNo];
        const WorkedCalculation c =
            workedCalculation(voltageOfDivisions(meter, task.position, task.k), meter.divisions,
                              meter.ranges[task.best]);
        if (const double advance = QFontMetricsF(designed).horizontalAdvance(c.Souh);
            advance > widestAdvance) {
            widest = c;
            widestAdvance = advance;
        }
    }
    ASSERT_GT(widestAdvance, box.width()) << widest.Souh.toStdString();

    Spatny spatny(widest, neverAsked);
    const QLabel& souh = child<QLabel>(spatny, "Souh");
    EXPECT_EQ(souh.text(), widest.Souh);
    EXPECT_EQ(souh.geometry(), box);
    EXPECT_LE(QFontMetricsF(souh.font()).horizontalAdvance(souh.text()),
              souh.contentsRect().width())
        << widest.Souh.toStdString();
}

} // namespace
} // namespace voltmetr::testing
