#include "results/genlist.h"
#include "windowfixture.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

namespace voltmetr {
namespace {

class GenListTest : public testing::WindowFixture
{
protected:
    GenListTest() { window.show(); }

    WindowContext& withReport()
    {
        coder.InitReportCoder();
        coder.AppendEncoded(QStringLiteral("Student: Eva Šťastná\r\nTřída: 1.A\r\n"));
        return context;
    }

    QTemporaryDir folder;
    GenList window{withReport()};
};

TEST_F(GenListTest, ShowsTheReportLineByLine)
{
    const auto* data = window.findChild<QPlainTextEdit*>(QStringLiteral("data"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->toPlainText(),
              coder.GetReportText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

TEST_F(GenListTest, ASaveThatWroteNothingIsReportedUnlessThePupilCancelled)
{
    const QString unwritable = folder.filePath(QStringLiteral("neni/Vysledky.txt"));
    const struct
    {
        const char* name;
        std::optional<QString> answer;
        QString message; // a pattern; empty when nothing is said
    } cases[] = {
        {"cancelled", std::nullopt, QString()},
        {"a folder that does not exist", unwritable,
         QStringLiteral("^Soubor se nepodařilo uložit:\n%1\n\nDůvod: .+\n")
             .arg(QRegularExpression::escape(unwritable))},
    };
    for (const auto& c : cases) {
        host.messages.clear();
        host.answerNextSaveDialog(c.answer);
        click(window, "txtfile");
        EXPECT_TRUE(QDir(folder.path()).isEmpty()) << c.name;
        ASSERT_EQ(host.messages.size(), c.message.isEmpty() ? 0u : 1u) << c.name;
        if (!c.message.isEmpty()) {
            EXPECT_EQ(host.messages[0].style, MessageStyle::OkCritical) << c.name;
            EXPECT_TRUE(QRegularExpression(c.message).match(host.messages[0].prompt).hasMatch())
                << host.messages[0].prompt.toStdString();
        }
        EXPECT_TRUE(window.isVisible()) << c.name << ": the pupil can try again";
    }
}

TEST_F(GenListTest, KonecEscAndTheDesktopsCloseEndTheProgramEnterInTheReportDoesNot)
{
    const struct
    {
        const char* name;
        std::function<void(GenList&)> press;
        bool ends;
    } cases[] = {
        {"Enter in the report box",
         [](GenList& w) { QTest::keyClick(w.findChild<QPlainTextEdit*>(), Qt::Key_Return); },
         false},
        {"Konec", [](GenList& w) { click(w, "final"); }, true},
        {"Esc", [](GenList& w) { QTest::keyClick(&w, Qt::Key_Escape); }, true},
        {"closed from the desktop", [](GenList& w) { w.close(); }, true},
    };
    for (const auto& c : cases) {
        host.ended = false;
        window.show();
        c.press(window);
        EXPECT_EQ(host.ended, c.ends) << c.name;
        EXPECT_EQ(window.isVisible(), !c.ends) << c.name;
    }
    EXPECT_TRUE(host.clipboard.isEmpty());
}

} // namespace
} // namespace voltmetr
