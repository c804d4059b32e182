#include "exercise/exercise.h"
#include "exercise/metermodel.h"
#include "signin/welcome.h"
#include "support/windowfixture.h"
#include "ui/designelements.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace voltmetr {
namespace {

// A pupil without a mouse: from the sign-in to a judged answer with keys alone, always on the
// widget that has the focus.
class KeyboardOnly : public testing::WindowFixture
{
protected:
    static QWidget* focused() { return QApplication::focusWidget(); }
    static void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(focused(), key, modifiers);
    }
    // Letters with diacritics come as a keyboard with a Czech layout sends them: text alone.
    static void type(const QString& text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(focused(), c.toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            }
        }
    }
    static void activate(QWidget& window)
    {
        window.show();
        QApplication::setActiveWindow(&window);
    }
};

TEST_F(KeyboardOnly, FromSignInToAJudgedAnswer)
{
    school.addPupil(QStringLiteral("Svoboda"), QStringLiteral("2.A"));
    Welcome welcome(context);
    activate(welcome);
    ASSERT_EQ(focused(), &child<QRadioButton>(welcome, "conn0"));
    key(Qt::Key_Down); // to "Generovat data pro odeslání emailem", which it chooses
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), &child<QLineEdit>(welcome, "Jm"));
    type(QStringLiteral("Jan Novák"));
    key(Qt::Key_Tab);
    type(QStringLiteral("2.A"));
    key(Qt::Key_Return);
    ASSERT_TRUE(state.EmailMode);
    EXPECT_EQ(state.PupilName, QStringLiteral("Jan Novák"));
    EXPECT_EQ(state.PupilClass, QStringLiteral("2.A"));

    Zkouseni* window = shownExercise();
    ASSERT_NE(window, nullptr);
    activate(*window);
    const Exercise& exercise = window->exercise();
    // Tab from wherever the focus starts until the range switch has it.
    for (int i = 0; i < 10 && !focused()->objectName().startsWith(QStringLiteral("RozLB")); ++i) {
        key(Qt::Key_Tab);
    }
    ASSERT_TRUE(focused()->objectName().startsWith(QStringLiteral("RozLB")));
    while (exercise.RangePos < exercise.BestRange) {
        const int before = exercise.RangePos;
        key(Qt::Key_Right);
        ASSERT_GT(exercise.RangePos, before);
    }
    ASSERT_EQ(exercise.RangePos, exercise.BestRange);
    while (focused()->objectName() != QStringLiteral("Pripoj")) {
        key(Qt::Key_Tab);
    }
    key(Qt::Key_Space);
    ASSERT_TRUE(exercise.Connected);
    if (!exercise.PolarityRight) {
        key(Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_EQ(focused()->objectName(), QStringLiteral("Prepoluj"));
        key(Qt::Key_Space);
        key(Qt::Key_Tab);
    }
    ASSERT_TRUE(exercise.PolarityRight);
    key(Qt::Key_Tab);
    ASSERT_EQ(focused()->objectName(), QStringLiteral("Vstup"));

    // The reading the needle settles on, in volts: the task's voltage, typed with a comma.
    const QString reading =
        QLocale(QLocale::Czech).toString(static_cast<double>(state.TaskVoltage), 'g', 6);
    type(reading);
    host.answerNextMessage(MessageAnswer::Yes);
    QString judged;
    host.onNextModal([&](QDialog& dialog) {
        judged = dialog.windowTitle();
        child(dialog, "Command1").click();
    });
    key(Qt::Key_Return);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, QStringLiteral("Potvrzení výsledku"));
    EXPECT_EQ(judged, QStringLiteral("Gratuluji"));
    EXPECT_EQ(state.RightCount, 1);
    EXPECT_EQ(state.WrongCount, 0);
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

} // namespace
} // namespace voltmetr
