#include "ui/qthost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

// Runs action from the event loop of whatever modal window opens next; the context object
// keeps the action from outliving the test.
void whenNextModalOpens(QObject& context, std::function<void(QWidget&)> action)
{
    QTimer::singleShot(0, &context, [action = std::move(action)] {
        ASSERT_NE(QApplication::activeModalWidget(), nullptr) << "no modal window is open";
        action(*QApplication::activeModalWidget());
    });
}

TEST(QtHostMessageBox, ShowsTheKindAskedForAndReturnsThePupilsAnswer)
{
    using Box = QMessageBox;
    using Answer = MessageAnswer;
    // The style, the button pressed (none: Esc), the icon and buttons shown, the answer.
    const std::tuple<MessageStyle, std::optional<Box::StandardButton>, Box::Icon, QString, Answer>
        cases[] = {
            {MessageStyle::OkCritical, Box::Ok, Box::Critical, u"OK,"_s, Answer::Ok},
            {MessageStyle::OkInformation, Box::Ok, Box::Information, u"OK,"_s, Answer::Ok},
            {MessageStyle::YesNoQuestion, Box::Yes, Box::Question, u"&Ano,&Ne,"_s, Answer::Yes},
            {MessageStyle::YesNoQuestion, Box::No, Box::Question, u"&Ano,&Ne,"_s, Answer::No},
            {MessageStyle::YesNoQuestion, std::nullopt, Box::Question, u"&Ano,&Ne,"_s, Answer::No},
        };
    for (const auto& [style, press, icon, buttons, answer] : cases) {
        QtHost host;
        QObject context;
        QString shown;
        whenNextModalOpens(context, [&, press = press](QWidget& modal) {
            auto& box = dynamic_cast<Box&>(modal);
            shown = u"%1|%2|%3|"_s.arg(box.windowTitle(), box.text()).arg(box.icon());
            for (QAbstractButton* button : box.buttons()) {
                shown += button->text() + u',';
            }
            press ? box.button(*press)->click() : QTest::keyClick(&box, Qt::Key_Escape);
        });
        const Answer given = host.messageBox(u"Opravdu?"_s, u"Měření"_s, style);
        EXPECT_EQ(std::pair(shown, given),
                  std::pair(u"Měření|Opravdu?|%1|"_s.arg(icon) + buttons, answer));
    }
}

// Counts the windows shown once counting is on.
class ShownWindows final : public QObject
{
public:
    bool counting = false;
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        count += counting && event->type() == QEvent::Show && watched->isWidgetType() &&
                 static_cast<QWidget*>(watched)->isWindow();
        return false;
    }
};

// Ending the program from inside nested modal windows leaves the application's event loop:
// the process goes on to destroy the application object, which hands the clipboard over.
TEST(QtHostEnd, LeavesEveryEventLoopAtOnceAndOpensNothingAfter)
{
    // The old way out was the process's exit, which would end this test half-way as if it
    // passed: an exit while the run below is under way fails instead.
    static bool running = false;
    ASSERT_EQ(std::atexit([] { running ? std::_Exit(3) : void(); }), 0);
    running = true;

    QtHost host;
    QWidget exercise; // what stays open under the modal windows
    exercise.show();
    QDialog summary(&exercise);
    QDialog late(&exercise);
    ShownWindows shownAfterEnd;
    QApplication::instance()->installEventFilter(&shownAfterEnd);
    QStringList trace;
    QObject context;
    // A program that did not end would wait here for ever; this gives up with another code.
    QTimer::singleShot(10000, &context, [] { QCoreApplication::exit(2); });
    const auto ask = [&host](const QString& question) {
        const MessageAnswer answer =
            host.messageBox(question, u"Otázka"_s, MessageStyle::YesNoQuestion);
        return u"%1 %2"_s.arg(question).arg(static_cast<int>(answer));
    };
    QTimer::singleShot(0, &context, [&] {
        whenNextModalOpens(context, [&](QWidget&) {
            whenNextModalOpens(context, [&](QWidget&) {
                host.endProgram();
                shownAfterEnd.counting = true;
                trace << u"ended"_s;
            });
            host.showModal(summary);
            trace << u"summary returned"_s;
            host.showModal(late);
            trace << u"late returned"_s << ask(u"Znovu?"_s);
            trace << u"file named %1"_s.arg(host.askSaveFileName({}).has_value());
        });
        trace << ask(u"Konec?"_s);
    });
    EXPECT_EQ(QApplication::exec(), EXIT_SUCCESS);
    running = false;

    EXPECT_EQ(trace.join(u'|'),
              u"ended|summary returned|late returned|Znovu? %1|file named 0|Konec? %1"_s.arg(
                  static_cast<int>(MessageAnswer::No)));
    EXPECT_FALSE(exercise.isVisible() || summary.isVisible() || late.isVisible());
    EXPECT_EQ(shownAfterEnd.count, 0);
}

} // namespace
} // namespace voltmetr
