// The program's windows: what they show of the logic below them, and the events they forward.
#include "results/genlist.h"
#include "results/souhrn.h"
#include "school/schooldatabase.h"
#include "signin/welcome.h"
#include "support/sandbox.h"
#include "support/windowfixture.h"
#include "ui/designelements.h"
#include "ui/info.h"
#include "ui/twips.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;
using Windows = testing::WindowFixture;

// The elements whose caption does not fit them, or runs under the element beside it.
QStringList clippedCaptions(QWidget& window)
{
    QStringList clipped;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const int width = label->width();
        const QRect shown(label->pos(),
                          label->wordWrap()
                              ? QSize(width, label->heightForWidth(width))
                              : label->fontMetrics().size(Qt::TextShowMnemonic, label->text()));
        bool clip = !label->geometry().contains(shown);
        for (QWidget* other : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            clip = clip || (!qobject_cast<QLabel*>(other) && other->geometry().intersects(shown));
        }
        if (clip) {
            clipped << label->objectName();
        }
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        if (text.width() + (qobject_cast<QRadioButton*>(button) ? 26 : 6) > button->width()) {
            clipped << button->objectName(); // room for the frame, or a radio button's circle
        }
    }
    return clipped;
}

TEST_F(Windows, EveryCaptionFitsItsElement)
{
    state.EmailMode = true; // the widest summary: totals not available
    state.RightCount = state.WrongCount = 20;
    Welcome welcome(context);
    info about(context);
    Souhrn summary(context);
    GenList report(context);
    for (QDialog* window : std::initializer_list<QDialog*>{&welcome, &about, &summary, &report}) {
        window->show();
        EXPECT_EQ(clippedCaptions(*window), QStringList()) << window->windowTitle().toStdString();
    }
}

// Each design family is drawn in one of its own faces, never in the desktop's fallback: Windows'
// own where it has them, Liberation's here; the report's Courier in one of fixed pitch.
TEST(DesignFont, EveryFamilyFindsOneOfItsFaces)
{
    for (const char* family : {"MS Sans Serif", "Arial", "Times New Roman", "Courier"}) {
        const QFontInfo face(designFont(QString::fromLatin1(family), 12));
        EXPECT_TRUE(designFaces(QString::fromLatin1(family)).contains(face.family()) &&
                    face.fixedPitch() == (family == std::string_view("Courier")))
            << family << ": " << face.family().toStdString();
    }
}

// The sign-in offers the pupils the logic found, and the chosen mode enables its own side.
TEST_F(Windows, TheSignInEnablesTheChosenModesSide)
{
    school.addPupil(u"Svoboda"_s, u"2.A"_s);
    Welcome window(context);
    const auto enabled = [&window] {
        QString names;
        for (const char* name :
             {"conn0", "conn1", "lblUsers", "Users", "lblJm", "Jm", "lblTr", "Tr"}) {
            names += child<QWidget>(window, name).isEnabled() ? QString::fromLatin1(name) + u' '
                                                              : QString();
        }
        return names + QString::number(child<QComboBox>(window, "Users").count());
    };
    EXPECT_EQ(enabled(), u"conn0 conn1 lblUsers Users 1"_s);
    child<QRadioButton>(window, "conn1").click();
    EXPECT_EQ(enabled(), u"conn0 conn1 lblJm Jm lblTr Tr 1"_s);
}

// Nobody is chosen as the sign-in opens: Enter then only beeps. The profile the pupil then
// chooses by keyboard is the one signed in.
TEST_F(Windows, NobodyIsSignedInUntilThePupilChoosesAProfile)
{
    school.addPupil(u"Svoboda"_s, u"2.A"_s);
    school.addPupil(u"Novák;ml."_s, u"3.B"_s);
    Welcome window(context);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(std::tuple(host.beeps, shownExercise() != nullptr, window.isVisible()),
              std::tuple(1, false, true));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(std::tuple(host.beeps, shownExercise() != nullptr, window.isVisible(),
                         state.ProfileSurname + u'/' + state.ProfileClass),
              std::tuple(1, true, false, u"Novák/3.B"_s));
}

// What is pasted into the name and class boxes is kept as the sign-in text rule has it, within
// each box's limit, and the run gets what the boxes show.
TEST_F(Windows, ControlCharactersNeverReachTheNameOrClass)
{
    Welcome window(context);
    window.show();
    child<QRadioButton>(window, "conn1").click();
    const QString a48(48, u'a');
    for (const auto& [box, text] :
         {std::pair("Jm", a48 + u"\tbc"_s), std::pair("Tr", u"123456789\n0"_s)}) {
        QApplication::clipboard()->setText(text);
        child<QLineEdit>(window, box).paste();
    }
    const QStringList shown{child<QLineEdit>(window, "Jm").text(),
                            child<QLineEdit>(window, "Tr").text()};
    click(window, "Command1");
    EXPECT_EQ(shown, (QStringList{a48 + u" b"_s, u"123456789"_s}));
    EXPECT_EQ(shown, (QStringList{state.PupilName, state.PupilClass}));
}

// The desktop's close acts as the window's Cancel or only button, Esc on the sign-in does
// nothing, and Enter in the report box presses no button.
TEST_F(Windows, AreLeftOnlyTheWayTheirButtonsLeaveThem)
{
    Welcome welcome(context);
    GenList report(context);
    const auto left = [this](QDialog& window, const std::function<void()>& press) {
        host.ended = false;
        window.show();
        press();
        return std::pair(host.ended, window.isVisible());
    };
    EXPECT_EQ(left(welcome, [&] { QTest::keyClick(&welcome, Qt::Key_Escape); }),
              std::pair(false, true));
    EXPECT_EQ(left(welcome, [&] { click(welcome, "Command2"); }), std::pair(true, true));
    EXPECT_EQ(left(welcome, [&] { welcome.close(); }), std::pair(true, true));
    EXPECT_EQ(
        left(report, [&] { QTest::keyClick(report.findChild<QPlainTextEdit*>(), Qt::Key_Return); }),
        std::pair(false, true));
    EXPECT_EQ(left(report, [&] { report.close(); }), std::pair(true, false));
}

// The about box's address, the school's own, opens a mail: clicked, or reached with Tab and
// opened with Enter, keypad Enter or Space. Enter elsewhere presses "OK"; Esc leaves it open.
TEST_F(Windows, TheAboutBoxAddressOpensAMailToTheSchool)
{
    testing::Sandbox::writeSettings("[skola]\nkontakt=fyzika@spslipova.cz\n");
    const QString link = u"mailto:fyzika@spslipova.cz"_s;
    Welcome welcome(context);
    host.onNextModal([](QDialog& about) {
        QTest::mouseClick(&child<QLabel>(about, "Label6"), Qt::LeftButton);
        click(about, "Command1");
    });
    click(welcome, "Command3");
    EXPECT_EQ(host.openedLinks, std::vector<QString>{link});
    for (const auto& [keys, mails, open] :
         {std::tuple{std::vector{Qt::Key_Return}, 0u, false},
          std::tuple{std::vector{Qt::Key_Tab, Qt::Key_Return}, 1u, true},
          std::tuple{std::vector{Qt::Key_Tab, Qt::Key_Space, Qt::Key_Enter}, 2u, true},
          std::tuple{std::vector{Qt::Key_Tab, Qt::Key_Escape}, 0u, true}}) {
        host.openedLinks.clear();
        info about(context);
        about.show();
        about.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
        for (const Qt::Key key : keys) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        EXPECT_EQ(std::tuple(host.openedLinks, about.isVisible()),
                  std::tuple(std::vector<QString>(mails, link), open))
            << keys.size() << " keys, the last " << keys.back();
    }
}

// Signed in by name, the pupil leaves through "Konec" and "Ano"; the summary opens the report
// window, where the pupil copies the report, cancels the save dialog, picks a folder that is not
// there and is told why, then saves over an earlier run's longer file. No database is touched.
TEST_F(Windows, EmailRunFromTypedNameToClipboardAndFile)
{
    const QString missing = school.folder() + u"/neni/Vysledky.txt"_s;
    QFile file(school.folder() + u"/Vysledky.txt"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(2000, 'z')) == 2000);
    file.close();
    Welcome welcome(context);
    welcome.show();
    child<QRadioButton>(welcome, "conn1").click();
    child<QLineEdit>(welcome, "Jm").setText(u"Eva Šťastná"_s);
    click(welcome, "Command1");
    ASSERT_NE(shownExercise(), nullptr);
    host.onNextModal([](QDialog& question) { click(question, "Command1"); });
    host.onNextModal([](QDialog& summary) { click(summary, "Command1"); });
    host.onNextModal([&](QDialog& report) {
        QStringList names; // as a screen reader reads them
        for (QWidget* part : std::initializer_list<QWidget*>{
                 report.findChild<QPlainTextEdit*>(), &child(report, "clipbrd"),
                 &child(report, "txtfile"), &child(report, "final")}) {
            names << QAccessible::queryAccessibleInterface(part)->text(QAccessible::Name);
        }
        EXPECT_EQ(names.join(u'|'), u"Zpráva pro vyučujícího|Vložit do schránky|Uložit do "
                                    u"textového souboru|Konec"_s);
        click(report, "clipbrd");
        for (const auto& answer :
             {std::optional<QString>(), std::optional(missing), std::optional(file.fileName())}) {
            host.answerNextSaveDialog(answer);
            click(report, "txtfile");
        }
        click(report, "final");
    });
    shownExercise()->Command3_Click();
    EXPECT_TRUE(host.ended);
    EXPECT_EQ(school.resultRows().size(), 0u);
    ASSERT_EQ(host.messages.size(), 1u) << "the failed save";
    EXPECT_TRUE(host.messages[0].prompt.startsWith(
        u"Soubor se nepodařilo uložit:\n%1\n\nDůvod: složka nebo soubor neexistuje\n"_s.arg(
            missing)));
    EXPECT_TRUE(host.clipboard.startsWith(u"4b "_s));
    EXPECT_EQ(host.clipboard, coder.GetReportText());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), host.clipboard.toLatin1() + "\r\n");
}

// Another computer holds the database while the summary opens: the window is there at once,
// says it is storing, and neither Enter nor Esc leaves it until the row is stored; then its OK
// ends the program.
TEST_F(Windows, TheSummaryShowsAtOnceAndWaitsForTheSaveBeforeItsOk)
{
    school.addResult(u"Novák"_s, 10, 2);
    state.ProfileSurname = u"Novák"_s;
    state.RightCount = 3;
    state.WrongCount = 1;
    school.exec(u"BEGIN IMMEDIATE"_s);
    Souhrn window(context);
    window.show();
    const auto captions = [&window](const char* family) {
        QStringList texts;
        for (const char* i : {"0", "1", "2"}) {
            texts << child<QLabel>(window, (std::string(family) + i).c_str()).text();
        }
        return texts.join(u'|');
    };
    EXPECT_EQ(captions("Dnes") + u'|' + captions("Celk"),
              u" 4 příklady| 3 příklady| 1 příklad|ukládám…|ukládám…|ukládám…"_s);
    EXPECT_FALSE(child(window, "Command1").isEnabled());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(&window, key);
        EXPECT_TRUE(window.isVisible()) << key;
    }
    EXPECT_FALSE(host.ended);
    school.exec(u"ROLLBACK"_s);
    awaitSave(window);
    EXPECT_EQ(captions("Celk"), u" 16 příkladů| 13 příkladů| 3 příklady"_s);
    // A screen reader reads it row by row, each count named with its row's caption.
    const QAccessibleInterface* read = QAccessible::queryAccessibleInterface(&window);
    QStringList heard;
    for (int i = 0; i < read->childCount(); ++i) {
        heard << read->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(heard.join(u'|'),
              u"Dnes jsi spočítal:|Dnes jsi spočítal: 4 příklady|Dobře:|Dobře: 3 příklady|Špatně:|"
              u"Špatně: 1 příklad|Celkem jsi spočítal:|Celkem jsi spočítal: 16 příkladů|Dobře:|"
              u"Dobře: 13 příkladů|Špatně:|Špatně: 3 příklady|OK"_s);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(host.ended);
}

// A label shows its design colour while enabled, active window or not; disabled, it greys as
// the style has it, as a sign-in label of the mode not chosen does.
TEST(DesignLabel, ShowsItsColourOnlyWhileEnabled)
{
    QWidget window;
    const QColor greyed = QLabel().palette().color(QPalette::Disabled, QPalette::WindowText);
    const QColor green = bgrColor(0x008000);
    const QPalette palette =
        makeLabel(window, {u"l"_s, u"Dobře:"_s, 0, 0, 780, 300, QFont(), Qt::AlignLeft, 0x008000})
            ->palette();
    EXPECT_EQ((QList<QColor>{palette.color(QPalette::Active, QPalette::WindowText),
                             palette.color(QPalette::Inactive, QPalette::WindowText),
                             palette.color(QPalette::Disabled, QPalette::WindowText)}),
              (QList<QColor>{green, green, greyed}));
    EXPECT_NE(greyed, green);
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
