#include "app/procedury.h"
#include "exercise/merakko.h"
#include "exercise/meterface.h"
#include "exercise/metermodel.h"
#include "exercise/numbertext.h"
#include "exercise/spatny.h"
#include "support/metercatalogue.h"
#include "support/windowfixture.h"
#include "ui/designelements.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDialog>
#include <QFontMetricsF>
#include <QLabel>
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
    static QString accessible(QObject* object, QAccessible::Text kind)
    {
        return QAccessible::queryAccessibleInterface(object)->text(kind);
    }

    // meterDraw picks the meter (0.1: meter 1, 0.3: meter 2, ...); the task is 110 V on meter
    // 1's 200 V position, source the right way round. The switch starts on its smallest range.
    void start(float meterDraw = 0.1f)
    {
        host.queueRandom({meterDraw, 0.99f, 0.5f, 0.2f});
        window = std::make_unique<Zkouseni>(context);
        window->show();
    }

    const Exercise& exercise() const { return window->exercise(); }
    QLineEdit& vstup() { return child<QLineEdit>(*window, "Vstup"); }
    QAbstractButton& rangeLabel(int index)
    {
        return *window->findChild<QAbstractButton*>(QStringLiteral("RozLB%1").arg(index));
    }
    MeterFace& face() { return child<MeterFace>(*window, "Stupnice"); }
    // The window as the screen shows it within rect.
    QImage onScreen(const QRect& rect)
    {
        return window->screen()->grabWindow(window->winId()).toImage().copy(rect);
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

// A judged answer counts before its window opens, Spatny with the worked calculation on the
// task's 200 V range although the pupil measured on 100 V. Leaving either by "&Konec" or by the
// desktop closing it asks Konec: "&Ne" returns to the window, "&Ano" ends through the summary.
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
         {std::tuple{"wrong, Pokračovat", "112", "C H Y B A", worked, press("Command1"), ""},
          std::tuple{"right, closed, Ne", "110", "Gratuluji", "", closeThenGoOn, "Command2"},
          std::tuple{"wrong, Konec, Ano", "112", "C H Y B A", worked, press("Command2"),
                     "Command1"}}) {
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
        const bool ends = std::string_view(konec) == "Command1";
        std::vector<QString> titles{QString::fromUtf8(title)};
        if (*konec != 0) {
            host.onNextModal(press(konec));
            titles.push_back(u"Konec ?"_s);
        }
        if (ends) {
            host.onNextModal([&](QDialog& summary) {
                titles.push_back(summary.windowTitle());
                summary.done(QDialog::Accepted);
            });
        }
        vstup().setText(QString::fromUtf8(typed));
        window->Contin_Click();
        EXPECT_EQ(std::tuple(texts.join(u'|'), finishedWhileOpen, exercise().taskSerial()),
                  std::tuple(QString::fromUtf8(shown), 1, ends ? task : task + 1))
            << name;
        EXPECT_EQ(host.modalTitles, titles) << name;
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
    EXPECT_EQ(std::pair(boxWhileAsked, vstup().text()), std::pair(u"1.5"_s, u"1.5"_s));
}

TEST_F(ExerciseWindow, OverloadRefusesAnswersAndDestroysTheMeterOnce)
{
    start();
    peg();
    vstup().setText(QStringLiteral("1,5"));
    window->Contin_Click();
    EXPECT_EQ(std::tuple(host.beeps, host.messages.size(), vstup().text()),
              std::tuple(1, 0u, u"1,5"_s))
        << "refused with a beep, the text left as typed";

    const std::uint32_t task = exercise().taskSerial();
    bool destroyedWhileOpen = false;
    host.onNextModal([&](QDialog& dialog) {
        destroyedWhileOpen = face().showsDestroyedMeter() &&
                             accessible(&face(), QAccessible::Description)
                                 .startsWith(QStringLiteral("Voltmetr je zničen. Rozsah "));
        EXPECT_EQ(child(dialog, "Command1").text(), QStringLiteral("Beru na vědomí"));
        closeByDesktop(dialog); // acts as its only button
    });
    for (int tick = 0; tick < 25; ++tick) {
        window->CP_Timer();
    }
    EXPECT_EQ(host.modalTitles, std::vector{QStringLiteral("C H Y B A")});
    EXPECT_EQ(std::tuple(destroyedWhileOpen, state.WrongCount, exercise().taskSerial()),
              std::tuple(true, 1, task + 1));
}

// Hidden labels show as "-"; the captions follow the system's decimal separator; the switch's
// pointer turns on the meter's own dial.
TEST_F(ExerciseWindow, EachMeterLaysOutItsOwnDial)
{
    for (const auto& [draw, captions, eight] :
         {std::tuple{0.1f, "0,5 1 2 5 10 20 50 100 200", false},
          std::tuple{0.3f, "- 0,6 1,2 2,4 6 12 24 120 -", false},
          std::tuple{0.7f, "- 0,6 1,2 3 6 12 30 60 120", true}}) {
        start(draw);
        window->setLocale(QLocale(QLocale::Czech));
        const auto& left = eight ? state.tables.LabelLeft8 : state.tables.LabelLeft9;
        const auto& top = eight ? state.tables.LabelTop8 : state.tables.LabelTop9;
        QStringList shown;
        for (int i = 0; i < 9; ++i) {
            const QAbstractButton& label = rangeLabel(i);
            shown << (label.isVisible() ? label.text() : QStringLiteral("-"));
            EXPECT_EQ(QRect(label.mapTo(window.get(), QPoint()), label.size()),
                      twipsRect(left[i + 1], top[i + 1], 270, 195))
                << i;
        }
        EXPECT_EQ(shown.join(u' ').toStdString(), captions);
        QTest::mouseClick(&rangeLabel(3), Qt::LeftButton);
        EXPECT_EQ(exercise().RangePos, 4);
        EXPECT_EQ(window->knobPointer().p1(), eight ? QPointF(4960, 5580) : QPointF(5110, 5500));
    }
}

// The connect button, the warning, the source's signs and plates (the long one is the + pole)
// and what a screen reader hears of the face follow the circuit; the reader never hears where
// the needle stands. The warning blinks dark and lit without leaving the screen, where a screen
// reader would take every blink for a new object.
TEST_F(ExerciseWindow, WhatTheWindowShowsFollowsTheCircuit)
{
    start();
    window->setLocale(QLocale(QLocale::Czech));
    auto& warning = child<BlinkingWarning>(*window, "warning");
    const auto shown = [&] {
        const auto caption = [&](const char* name) { return child<QLabel>(*window, name).text(); };
        const QString blink = !warning.isVisible() ? u"-"_s
                              : warning.isLit()    ? caption("warning")
                                                   : u"dark"_s;
        const bool longLeft = window->plate(0).length() > window->plate(1).length();
        return QStringList{child(*window, "Pripoj").text(), blink,
                           caption("Znam0") + caption("Znam1"),
                           longLeft ? QStringLiteral("long left") : QStringLiteral("long right"),
                           accessible(&face(), QAccessible::Description)}
            .join(QStringLiteral(" | "));
    };
    // What the face says on the 100-division meter: range, connection, the side of the + pole.
    const auto said = [](const char* range, const char* connected, const char* side) {
        return QStringLiteral("Stupnice má 100 dílků. Rozsah %1 V. Voltmetr je %2. Kladný pól "
                              "zdroje je %3. Polohu ručičky nelze zjistit bez zraku.")
            .arg(QString::fromUtf8(range), QString::fromUtf8(connected), QString::fromUtf8(side));
    };
    const QString quiet = QStringLiteral("Odpojit | - | -+ | long right | ");
    const QString overloaded = u"Voltmetr je přetížen! "_s + said("0,5", "připojen", "vpravo");
    const std::pair<std::function<void()>, QString> steps[] = {
        {[] {}, u"Připojit | - | +- | long left | "_s + said("0,5", "odpojen", "vlevo")},
        {[&] { window->Prepoluj_Click(); },
         u"Připojit | - | -+ | long right | "_s + said("0,5", "odpojen", "vpravo")},
        {[&] { window->Pripoj_Click(); }, quiet + said("0,5", "připojen", "vpravo")},
        {[&] { window->casovac_Timer(); },
         u"Odpojit | Přístroj je přetížen ! | -+ | long right | "_s + overloaded},
        {[&] { window->CP_Timer(); }, u"Odpojit | dark | -+ | long right | "_s + overloaded},
        {[&] { window->CP_Timer(); },
         u"Odpojit | Přístroj je přetížen ! | -+ | long right | "_s + overloaded},
        {[&] { window->RozLB_Click(8); }, quiet + said("200", "připojen", "vpravo")},
    };
    int step = 0;
    for (const auto& [action, expected] : steps) {
        action();
        EXPECT_EQ(shown(), expected) << "step " << step++;
    }
}

// A screen reader knows each part by its role and name: the face is a picture, the warning a
// notification, the range labels radio buttons, chosen by their press action and then checked,
// in the group that "Rozsah:" labels; the title spelt out "C H Y B A" is read as the word.
TEST_F(ExerciseWindow, AScreenReaderKnowsEachPartByRoleAndName)
{
    start();
    window->setLocale(QLocale(QLocale::Czech));
    QAccessible::queryAccessibleInterface(&rangeLabel(1))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(exercise().RangePos, 2) << "chosen by its press action";
    Spatny wrong({}, [](QWidget&) { return false; });
    Merak_KO destroyed;
    using Known = std::tuple<QAccessible::Role, QString, bool, QString>;
    const auto known = [](QObject* object) {
        const QAccessibleInterface* part = QAccessible::queryAccessibleInterface(object);
        QStringList labels;
        for (const auto& [label, relation] : part->relations(QAccessible::Label)) {
            labels << label->text(QAccessible::Name);
        }
        return Known(part->role(), part->text(QAccessible::Name), part->state().checked,
                     labels.join(u','));
    };
    const QString none;
    for (const auto& [object, expected] : std::initializer_list<std::pair<QObject*, Known>>{
             {&face(), {QAccessible::Graphic, u"Voltmetr"_s, false, none}},
             {&child<QLabel>(*window, "warning"),
              {QAccessible::Notification, u"Přístroj je přetížen !"_s, false, none}},
             {&vstup(),
              {QAccessible::EditableText, u"Naměřené napětí je:"_s, false,
               u"Naměřené napětí je:"_s}},
             {&child<QWidget>(*window, "Rozsah"),
              {QAccessible::Grouping, u"Rozsah"_s, false, u"Rozsah:"_s}},
             {&rangeLabel(0), {QAccessible::RadioButton, u"Rozsah 0,5 V"_s, false, none}},
             {&rangeLabel(1), {QAccessible::RadioButton, u"Rozsah 1 V"_s, true, none}},
             {&wrong, {QAccessible::Dialog, u"Chyba"_s, false, none}},
             {&destroyed, {QAccessible::Dialog, u"Chyba"_s, false, none}}}) {
        EXPECT_EQ(known(object), expected) << object->objectName().toStdString();
    }
}

// "&Konec", Esc and a request to close all ask Konec with the timers stopped; the window never
// closes by the request. "&Ne" and the desktop closing Konec give the countdown back where it
// stood.
TEST_F(ExerciseWindow, KonecStopsTheTimersAndOnlyNoResumesThem)
{
    using Ask = std::function<void(Zkouseni&)>;
    const Ask closeRequest = [](Zkouseni& w) { EXPECT_FALSE(w.close()); };
    const Ask escape = [](Zkouseni& w) {
        QApplication::setActiveWindow(&w);
        child<QLineEdit>(w, "Vstup").setFocus();
        QTest::keyClick(&child<QLineEdit>(w, "Vstup"), Qt::Key_Escape);
    };
    // name; how Konec is asked; how it is answered
    for (const auto& [name, ask, reply] :
         {std::tuple{"button, Ne", Ask([](Zkouseni& w) { w.Command3_Click(); }), press("Command2")},
          std::tuple{"Esc in the answer box, Ne", escape, press("Command2")},
          std::tuple{"close request, desktop closes Konec", closeRequest,
                     ScriptedHost::ModalScript(closeByDesktop)}}) {
        host.modalTitles.clear();
        start();
        peg();
        for (int tick = 0; tick < 5; ++tick) {
            window->CP_Timer();
        }
        bool frozen = false;
        // (not every compiler captures a structured binding by name yet)
        host.onNextModal([&, &answer = reply](QDialog& dialog) {
            frozen = !window->CP().isActive() && !window->casovac().isActive();
            answer(dialog);
        });
        ask(*window);
        EXPECT_EQ(std::tuple(window->isVisible(), frozen, host.modalTitles, window->CP().isActive(),
                             int{exercise().BlinkCount}),
                  std::tuple(true, true, std::vector{u"Konec ?"_s}, true, 5))
            << name;
    }
}

// The Tab chain runs through the circuit's buttons and the answer row to the range labels, which
// are one stop; the arrows walk the shown positions and choose, like a click; Space chooses the
// focused label and presses the focused button.
TEST_F(ExerciseWindow, TheWindowWorksByKeyboard)
{
    start(0.3f); // meter 2: positions 1 and 9 have no range
    QApplication::setActiveWindow(window.get());
    child(*window, "Prepoluj").setFocus();
    QStringList chain;
    for (int stop = 0; stop < 5; ++stop) {
        chain << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(chain.join(u' '), QStringLiteral("Prepoluj Pripoj Vstup Contin Command3"));
    std::vector<int> positions;
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_End, Qt::Key_Right, Qt::Key_Down,
                              Qt::Key_Up, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                              Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        positions.push_back(exercise().RangePos);
        EXPECT_EQ(QApplication::focusWidget(), &rangeLabel(exercise().RangePos - 1));
    }
    EXPECT_EQ(positions, (std::vector{2, 2, 2, 3, 4, 3, 4, 5, 6, 7, 8, 8}));
    // A click takes the focus along, and the next arrow steps from there.
    QTest::mouseClick(&rangeLabel(4), Qt::LeftButton);
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

// The widest worked calculation any task can give overruns Souh's box in the design font; the
// label keeps its box and the whole text still fits inside it.
TEST_F(ExerciseWindow, TheWidestCalculationFitsSpatnysLabel)
{
    FillTables(state.tables);
    const auto neverAsked = [](QWidget&) { return false; };
    Spatny plain({}, neverAsked);
    const QFont designed = child<QLabel>(plain, "Souh").font();
    WorkedCalculation widest;
    for (const DrawableTask& task : drawableTasks()) {
        const MeterType& meter = state.tables.Meters[task.meterNo];
        const WorkedCalculation c =
            workedCalculation(voltageOfDivisions(meter, task.position, task.k), meter.divisions,
                              meter.ranges[task.best]);
        if (QFontMetricsF(designed).horizontalAdvance(c.Souh) >
            QFontMetricsF(designed).horizontalAdvance(widest.Souh)) {
            widest = c;
        }
    }
    const QRect box = twipsRect(1920, 2280, 2670, 240);
    ASSERT_GT(QFontMetricsF(designed).horizontalAdvance(widest.Souh), box.width());
    Spatny spatny(widest, neverAsked);
    const QLabel& souh = child<QLabel>(spatny, "Souh");
    EXPECT_EQ(std::tuple(souh.text(), souh.geometry()), std::tuple(widest.Souh, box));
    EXPECT_LE(QFontMetricsF(souh.font()).horizontalAdvance(souh.text()),
              souh.contentsRect().width());
}

// Everything that moves repaints only where it was and where it goes; what the screen shows
// afterwards must equal a full repaint, on every meter and every switch position.
TEST_F(ExerciseWindow, PartialRepaintsEqualAFullRepaint)
{
    const QRect rangeArea = twipsRect(3900, 4740, 2430, 1740);
    const QRect circuitArea = twipsRect(0, 0, 6330, 1620);
    const auto same = [&](const QRect& area, const std::function<void()>& change) {
        change();
        QApplication::processEvents();
        const QImage afterChange = onScreen(area);
        window->repaint();
        return afterChange == onScreen(area);
    };
    for (const float meterDraw : {0.1f, 0.3f, 0.5f, 0.7f, 0.9f}) {
        start(meterDraw);
        for (int from = 0; from < 9; ++from) {
            for (int to = 0; to < 9; ++to) {
                window->RozLB_Click(from);
                window->repaint();
                EXPECT_TRUE(same(rangeArea, [&] { window->RozLB_Click(to); }))
                    << "meter " << int(exercise().MeterNo) << ", " << from + 1 << " to " << to + 1;
            }
        }
        for (int click = 0; click < 2; ++click) {
            EXPECT_TRUE(same(circuitArea,
                             [&] {
                                 window->Prepoluj_Click();
                                 window->Pripoj_Click();
                             }))
                << "source and wires, click " << click;
        }
    }
}

} // namespace
} // namespace voltmetr::testing
