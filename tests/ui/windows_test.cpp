#include "results/genlist.h"
#include "school/schooldatabase.h"
#include "signin/welcome.h"
#include "support/sandbox.h"
#include "support/windowfixture.h"
#include "ui/designelements.h"
#include "ui/info.h"
#include "ui/twips.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

using Open = std::unique_ptr<QDialog> (*)(WindowContext&);
template <typename W> std::unique_ptr<QDialog> open(WindowContext& context)
{
    return std::make_unique<W>(context);
}

// The elements whose caption does not fit them at the fonts a pupil's computer has (with room
// for a button's frame or a radio button's circle), or is covered by an element beside it.
QStringList clippedCaptions(QWidget& window)
{
    QStringList clipped;
    for (QWidget* element : window.findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(element);
        auto* button = qobject_cast<QAbstractButton*>(element);
        const QSize text =
            element->fontMetrics().size(Qt::TextShowMnemonic, label    ? label->text()
                                                              : button ? button->text()
                                                                       : QString());
        const int frame = label ? 0 : qobject_cast<QRadioButton*>(element) ? 26 : 6;
        bool covered = false;
        for (QWidget* other : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            covered |= label && !qobject_cast<QLabel*>(other) && other->isVisible() &&
                       other->geometry().intersects(QRect(label->pos(), text));
        }
        if ((label || button) &&
            (label && label->wordWrap() ? label->heightForWidth(label->width()) > label->height()
                                        : covered || text.width() + frame > element->width() ||
                                              text.height() > element->height())) {
            clipped << element->objectName();
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
        EXPECT_EQ(std::pair(host.ended, window->isVisible()), std::pair(ends, !closes)) << name;
    }
}

// "O programu" shows the about box with the school's address, which grows to the left for a
// longer one, never past the box's margin; the address alone opens a mail.
TEST_F(Windows, TheAboutBoxShowsTheSchoolsAddressAndMailsToIt)
{
    const QString address = u"ucitel.elektrotechniky@stredni-skola-lipova.cz"_s;
    testing::Sandbox::writeSettings("[skola]\nkontakt=" + address.toUtf8());
    Welcome welcome(context);
    welcome.show();
    host.onNextModal([&](QDialog& about) {
        auto& label = child<QLabel>(about, "Label6");
        EXPECT_EQ(std::tuple(label.text(), label.accessibleName(), label.geometry().right()),
                  std::tuple(address, u"Napsat e-mail: "_s + address, 260));
        EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance(address));
        EXPECT_GE(label.x(), 8) << "within the margin";
        QTest::mouseClick(&child<QLabel>(about, "Label4"), Qt::LeftButton);
        QTest::mouseClick(&label, Qt::LeftButton);
        click(about, "Command1");
    });
    click(welcome, "Command3");
    EXPECT_EQ(host.openedLinks, std::vector<QString>{u"mailto:"_s + address});
}

// A label shows its design colour while enabled, active window or not; disabled, it greys as
// the style has it, as a sign-in label of the mode not chosen does.
TEST(DesignLabel, ShowsItsColourOnlyWhileEnabled)
{
    QWidget window;
    const QColor greyed = QLabel().palette().color(QPalette::Disabled, QPalette::WindowText);
    for (const unsigned int bgr : {0x000000u, 0x008000u}) {
        const QPalette palette =
            makeLabel(window, {u"l"_s, u"Dobře:"_s, 0, 0, 780, 300, QFont(), Qt::AlignLeft, bgr})
                ->palette();
        ASSERT_NE(greyed, bgrColor(bgr));
        EXPECT_EQ((QList<QColor>{palette.color(QPalette::Active, QPalette::WindowText),
                                 palette.color(QPalette::Inactive, QPalette::WindowText),
                                 palette.color(QPalette::Disabled, QPalette::WindowText)}),
                  (QList<QColor>{bgrColor(bgr), bgrColor(bgr), greyed}));
    }
}

// A computer whose settings file names the school's database and address: the sandbox every test
// starts in keeps the windows from reading either, or storing into the database, all the way to
// a school run's summary.
TEST_F(Windows, NoWindowReachesTheComputersSchoolDatabase)
{
    testing::SchoolFile guard;
    guard.addPupil(u"Hlídač"_s, u"9.Z"_s);
    QTemporaryDir computer;
    testing::Sandbox::writeSettings(
        "[skola]\nkontakt=skola@hlidac.cz\ndatabaze=" + guard.path().toUtf8(), computer.path());
    qputenv("XDG_CONFIG_DIRS", computer.path().toUtf8());
    qunsetenv("VOLTMETR_DB");
    ASSERT_EQ(schoolDatabasePath(), guard.path()) << "what a test outside the sandbox reaches";
    const auto bytes = [&guard] {
        QFile file(guard.path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = bytes();
    ASSERT_FALSE(before.isEmpty());

    const QString sandbox = testing::Sandbox::enter();
    EXPECT_TRUE(schoolDatabasePath().startsWith(sandbox + u'/')) << "not the built-in one";
    Welcome welcome(context);
    welcome.show();
    EXPECT_FALSE(child<QRadioButton>(welcome, "conn0").isEnabled()) << "no school database";
    host.onNextModal([](QDialog& about) {
        EXPECT_EQ(child<QLabel>(about, "Label6").text(), u"voltmetr@example.cz"_s);
        click(about, "Command1");
    });
    click(welcome, "Command3");
    child<QLineEdit>(welcome, "Jm").setText(u"Eva"_s);
    click(welcome, "Command1");
    ASSERT_NE(shownExercise(), nullptr);
    host.onNextModal([](QDialog& question) { click(question, "Command1"); });
    host.onNextModal([](QDialog& summary) { click(summary, "Command1"); });
    host.onNextModal([](QDialog& report) { click(report, "final"); });
    shownExercise()->Command3_Click();
    // A school run's summary stores nowhere and hands the run out.
    state.EmailMode = false;
    host.onNextModal([](QDialog& report) { click(report, "final"); });
    {
        Souhrn summary(context);
        awaitSave(summary);
        click(summary, "Command1");
    }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].prompt.startsWith(u"Výsledek se nepodařilo uložit"_s));
    EXPECT_EQ(guard.resultRows().size(), 0u);
    EXPECT_EQ(bytes(), before);
}

} // namespace
} // namespace voltmetr
