#include "ui/qthost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace voltmetr {
namespace {

// Runs action from the event loop of whatever modal window opens next; the context object
// keeps the action from outliving the test.
void whenNextModalOpens(QObject& context, std::function<void(QWidget&)> action)
{
    QTimer::singleShot(0, &context, [action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr) << "no modal window is open";
        action(*modal);
    });
}

TEST(QtHostMessageBox, ShowsTheKindAskedForAndReturnsThePupilsAnswer)
{
    using Box = QMessageBox;
    using Answer = MessageAnswer;
    // The style, the button pressed (none: Esc), the icon and buttons shown, the answer.
    const std::tuple<MessageStyle, std::optional<Box::StandardButton>, Box::Icon, const char*,
                     Answer>
        cases[] = {
            {MessageStyle::OkCritical, Box::Ok, Box::Critical, "OK", Answer::Ok},
            {MessageStyle::OkInformation, Box::Ok, Box::Information, "OK", Answer::Ok},
            {MessageStyle::YesNoQuestion, Box::Yes, Box::Question, "&Ano,&Ne", Answer::Yes},
            {MessageStyle::YesNoQuestion, Box::No, Box::Question, "&Ano,&Ne", Answer::No},
            {MessageStyle::YesNoQuestion, std::nullopt, Box::Question, "&Ano,&Ne", Answer::No},
        };
    for (const auto& [style, press, icon, buttons, answer] : cases) {
        QtHost host;
        QObject context;
        QString shown;
        whenNextModalOpens(context, [&, press = press](QWidget& modal) {
            auto& box = dynamic_cast<Box&>(modal);
            QStringList captions;
            for (const Box::StandardButton b : {Box::Ok, Box::Yes, Box::No}) {
                if (QAbstractButton* button = box.button(b)) {
                    captions << button->text();
                }
            }
            shown = QStringLiteral("%1|%2|%3|%4")
                        .arg(box.windowTitle(), box.text())
                        .arg(box.icon())
                        .arg(captions.join(u','));
            if (press) {
                box.button(*press)->click();
            } else {
                QTest::keyClick(&box, Qt::Key_Escape);
            }
        });
        const Answer given =
            host.messageBox(QStringLiteral("Opravdu?"), QStringLiteral("Měření"), style);
        EXPECT_EQ(shown,
                  QStringLiteral("Měření|Opravdu?|%1|").arg(icon) + QString::fromUtf8(buttons));
        EXPECT_EQ(given, answer) << shown.toStdString();
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
        if (counting && event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            ++count;
        }
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
    static const int registered = std::atexit([] {
        if (running) {
            std::_Exit(3);
        }
    });
    ASSERT_EQ(registered, 0);
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
    const auto ask = [&host](const char* question) {
        const MessageAnswer answer = host.messageBox(
            QString::fromUtf8(question), QStringLiteral("Otázka"), MessageStyle::YesNoQuestion);
        return QStringLiteral("%1 %2")
            .arg(QString::fromUtf8(question))
            .arg(static_cast<int>(answer));
    };

    QTimer::singleShot(0, &context, [&] {
        whenNextModalOpens(context, [&](QWidget&) {
            whenNextModalOpens(context, [&](QWidget&) {
                host.endProgram();
                shownAfterEnd.counting = true;
                trace << QStringLiteral("ended");
            });
            host.showModal(summary);
            trace << QStringLiteral("summary returned");
            host.showModal(late);
            trace << QStringLiteral("late returned");
            trace << ask("Znovu?");
            trace << QStringLiteral("file named %1").arg(host.askSaveFileName({}).has_value());
        });
        trace << ask("Konec?");
    });
    EXPECT_EQ(QApplication::exec(), EXIT_SUCCESS);
    running = false;

    EXPECT_EQ(trace.join(u'|'), QStringLiteral("ended|summary returned|late returned|Znovu? %1|"
                                               "file named 0|Konec? %1")
                                    .arg(static_cast<int>(MessageAnswer::No)));
    for (QWidget* window :
         {&exercise, static_cast<QWidget*>(&summary), static_cast<QWidget*>(&late)}) {
        EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
    }
    EXPECT_EQ(shownAfterEnd.count, 0);
}

// The window icon is our SVG drawn at the title bar's size; without Qt's SVG plugins it would
// not load at all.
TEST(Application, HasAWindowIconDrawnAt32Pixels)
{
    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage image = icon.pixmap(QSize(32, 32), 1.0).toImage();
    EXPECT_EQ(image.size(), QSize(32, 32));
    const QImage alpha = image.convertToFormat(QImage::Format_Alpha8);
    const auto opaque = std::count(alpha.constBits(), alpha.constBits() + alpha.sizeInBytes(), 255);
    // The meter's case covers most of the square.
    EXPECT_GT(opaque, 32 * 32 / 2);
}

} // namespace
} // namespace voltmetr
