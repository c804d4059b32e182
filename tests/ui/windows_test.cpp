#include "results/genlist.h"
#include "results/souhrn.h"
#include "signin/welcome.h"
#include "support/windowfixture.h"
#include "ui/info.h"

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

namespace voltmetr {
namespace {

using Open = std::unique_ptr<QDialog> (*)(WindowContext&);
template <typename W> std::unique_ptr<QDialog> open(WindowContext& context)
{
    return std::make_unique<W>(context);
}

// The elements whose caption does not fit them at the fonts a pupil's computer has, or is
// covered by the element beside it.
QStringList clippedCaptions(QWidget& window)
{
    QStringList clipped;
    const auto covered = [&window](const QLabel& label) {
        const QRect text(label.pos(), label.fontMetrics().size(Qt::TextShowMnemonic, label.text()));
        for (QWidget* other : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != &label && !qobject_cast<QLabel*>(other) && other->isVisible() &&
                other->geometry().intersects(text)) {
                return true;
            }
        }
        return false;
    };
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const QFontMetrics metrics = label->fontMetrics();
        if (label->wordWrap() ? label->heightForWidth(label->width()) > label->height()
                              : metrics.height() > label->height() ||
                                    metrics.horizontalAdvance(label->text()) > label->width() ||
                                    covered(*label)) {
            clipped << label->objectName();
        }
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        // Room for the frame, or for a radio button's circle.
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        const int frame = qobject_cast<QRadioButton*>(button) ? 26 : 6;
        if (text.width() + frame > button->width() || text.height() > button->height()) {
            clipped << button->objectName();
        }
    }
    return clipped;
}

using Windows = testing::WindowFixture;

TEST_F(Windows, EveryCaptionFitsItsElement)
{
    // The widest counts: an e-mail run's summary, whose totals are not available.
    state.EmailMode = true;
    state.RightCount = state.WrongCount = 20;
    for (Open openWindow : {&open<Welcome>, &open<info>, &open<Souhrn>, &open<GenList>}) {
        const std::unique_ptr<QDialog> window = openWindow(context);
        window->show();
        EXPECT_EQ(clippedCaptions(*window), QStringList()) << window->windowTitle().toStdString();
    }
}

// The desktop's close acts as the window's Cancel or only button, Esc on the sign-in does
// nothing, and Enter in the report box presses no button.
TEST_F(Windows, AreLeftOnlyTheWayTheirButtonsLeaveThem)
{
    const auto close = [](QDialog& w) { w.close(); };
    // The window, what is pressed, whether the program ends, whether the window closes.
    const std::tuple<const char*, Open, std::function<void(QDialog&)>, bool, bool> cases[] = {
        {"Vítejte, Esc", &open<Welcome>, [](QDialog& w) { QTest::keyClick(&w, Qt::Key_Escape); },
         false, false},
        {"Vítejte, Zruš", &open<Welcome>, [](QDialog& w) { click(w, "Command2"); }, true, false},
        {"Vítejte, closed", &open<Welcome>, close, true, false},
        {"Souhrn, closed once its run is stored", &open<Souhrn>,
         [](QDialog& w) {
             awaitSave(w);
             w.close();
         },
         true, true},
        {"report, Enter in the report box", &open<GenList>,
         [](QDialog& w) { QTest::keyClick(w.findChild<QPlainTextEdit*>(), Qt::Key_Return); }, false,
         false},
        {"report, closed", &open<GenList>, close, true, true},
    };
    for (const auto& [name, openWindow, press, ends, closes] : cases) {
        host.ended = false;
        const std::unique_ptr<QDialog> window = openWindow(context);
        window->show();
        press(*window);
        EXPECT_EQ(host.ended, ends) << name;
        EXPECT_EQ(window->isVisible(), !closes) << name;
    }
    EXPECT_EQ(school.resultRows().size(), 1u) << "a summary stores its run, with no answers too";
    EXPECT_TRUE(host.clipboard.isEmpty());
}

// "O programu" shows the about box (its script runs), whose address alone opens a mail.
TEST_F(Windows, OProgramuShowsTheAboutBoxWhoseAddressOnlyOpensAMail)
{
    Welcome welcome(context);
    welcome.show();
    host.onNextModal([](QDialog& about) {
        for (const char* label : {"Label6", "Label4", "Label6"}) {
            QTest::mouseClick(&child<QLabel>(about, label), Qt::LeftButton);
        }
        EXPECT_TRUE(about.isVisible());
        click(about, "Command1");
    });
    click(welcome, "Command3");
    EXPECT_EQ(host.openedLinks,
              std::vector<QString>(2, QStringLiteral("mailto:voltmetr@example.cz")));
}

// A pupil without a mouse reaches the address with Tab, sees the focus on it and opens the mail
// with Enter or Space; Enter elsewhere still presses "OK".
TEST_F(Windows, TheAboutBoxAddressWorksByKeyboard)
{
    const QString link = QStringLiteral("mailto:voltmetr@example.cz");
    // Keys pressed, each to whatever has the focus; mails opened; whether the box stays open.
    const std::tuple<const char*, std::vector<Qt::Key>, std::size_t, bool> cases[] = {
        {"Enter", {Qt::Key_Return}, 0, false},
        {"Tab, Enter", {Qt::Key_Tab, Qt::Key_Return}, 1, true},
        {"Tab, Space, Space", {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Space}, 2, true},
        {"Tab, keypad Enter", {Qt::Key_Tab, Qt::Key_Enter}, 1, true},
        {"Tab, Tab, Enter", {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return}, 0, false},
        {"Tab, Esc", {Qt::Key_Tab, Qt::Key_Escape}, 0, true},
    };
    for (const auto& [name, keys, mails, open] : cases) {
        host.openedLinks.clear();
        info about(context);
        about.show();
        about.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&about)) << name;
        auto& address = child<QLabel>(about, "Label6");
        const QImage unfocused = address.grab().toImage();
        for (const Qt::Key key : keys) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        EXPECT_EQ(host.openedLinks, std::vector<QString>(mails, link)) << name;
        EXPECT_EQ(about.isVisible(), open) << name;
        if (open) {
            EXPECT_EQ(QApplication::focusWidget(), &address) << name;
            EXPECT_NE(address.grab().toImage(), unfocused) << name << ": the focus shows";
        }
        EXPECT_EQ(address.accessibleName(), QStringLiteral("Napsat e-mail: voltmetr@example.cz"));
    }
}

} // namespace
} // namespace voltmetr
