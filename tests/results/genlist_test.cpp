#include "results/genlist.h"
#include "results/reportdecoder.h"
#include "runfixture.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace voltmetr {
namespace {

class GenListTest : public testing::RunFixture
{
protected:
    GenListTest()
    {
        host.queueRandom({0.5f, 0.25f});
        coder.InitReportCoder();
        coder.StartReport();
        coder.AppendEncoded(text);
    }

    QByteArray savedBytes(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    const QString text = QStringLiteral("Student: Eva Šťastná\r\nTřída: 1.A\r\n");
    QTemporaryDir folder;
};

TEST_F(GenListTest, ShowsTheReportAndCopiesExactlyItToTheClipboard)
{
    GenList window(context);
    const auto* data = window.findChild<QPlainTextEdit*>(QStringLiteral("data"));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->isReadOnly());
    EXPECT_EQ(data->toPlainText(),
              coder.GetReportText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    click(window, "clipbrd");
    EXPECT_EQ(host.clipboard, coder.GetReportText());
    EXPECT_EQ(decodeReport(host.clipboard).text, text);
    EXPECT_FALSE(host.ended);
}

TEST_F(GenListTest, SavesTheReportWithALineBreakAndReplacesTheFileNextTime)
{
    const QString path = folder.filePath(QStringLiteral("Vysledky.txt"));
    host.answerNextSaveDialog(path);
    host.answerNextSaveDialog(path);
    GenList window(context);
    click(window, "txtfile");
    click(window, "txtfile");
    ASSERT_EQ(host.saveRequests.size(), 2u);
    const SaveDialogRequest& request = host.saveRequests.front();
    EXPECT_EQ(request.title, QStringLiteral("Vyber umístění a jméno souboru"));
    EXPECT_EQ(request.proposedName, QStringLiteral("Vysledky"));
    EXPECT_EQ(request.defaultExtension, QStringLiteral("txt"));
    EXPECT_EQ(request.filters, (QStringList{QStringLiteral("Textové soubory (*.txt)"),
                                            QStringLiteral("Všechny soubory (*.*)")}));
    EXPECT_EQ(savedBytes(path), coder.GetReportText().toLatin1() + "\r\n");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(GenListTest, ACancelledDialogWritesNothingAndSaysNothing)
{
    host.answerNextSaveDialog(std::nullopt);
    GenList window(context);
    click(window, "txtfile");
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(host.ended);
}

TEST_F(GenListTest, AFileThatCannotBeWrittenIsReportedInCzechWithTheReason)
{
    const QString path = folder.filePath(QStringLiteral("neni/Vysledky.txt"));
    host.answerNextSaveDialog(path);
    GenList window(context);
    window.show();
    click(window, "txtfile");
    ASSERT_EQ(host.messages.size(), 1u);
    const testing::AskedMessage& message = host.messages.front();
    EXPECT_EQ(message.style, MessageStyle::OkCritical);
    EXPECT_TRUE(message.prompt.startsWith(QStringLiteral("Soubor se nepodařilo uložit")));
    EXPECT_TRUE(message.prompt.contains(path));
    EXPECT_TRUE(message.prompt.contains(QStringLiteral("Důvod: ")));
    EXPECT_GT(message.prompt.section(QStringLiteral("Důvod: "), 1).section(u'\n', 0, 0).size(), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(window.isVisible()) << "the pupil can try again";
    EXPECT_FALSE(host.ended);
}

TEST_F(GenListTest, KonecEscAndTheDesktopsCloseEndTheProgram)
{
    const struct
    {
        const char* name;
        std::function<void(GenList&)> leave;
    } cases[] = {
        {"Konec", [](GenList& w) { click(w, "final"); }},
        {"Esc", [](GenList& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"closed from the desktop", [](GenList& w) { w.close(); }},
    };
    for (const auto& c : cases) {
        host.ended = false;
        GenList window(context);
        window.show();
        c.leave(window);
        EXPECT_TRUE(host.ended) << c.name;
        EXPECT_FALSE(window.isVisible()) << c.name;
    }
}

TEST_F(GenListTest, EnterInTheReportBoxPressesNoButton)
{
    GenList window(context);
    window.show();
    QTest::keyClick(window.findChild<QPlainTextEdit*>(QStringLiteral("data")), Qt::Key_Return);
    EXPECT_TRUE(host.clipboard.isEmpty());
    EXPECT_TRUE(host.saveRequests.empty());
    EXPECT_FALSE(host.ended);
}

TEST_F(GenListTest, EveryCaptionFitsItsElement)
{
    GenList window(context);
    window.show();
    EXPECT_EQ(clippedCaptions(window), QStringList());
}

} // namespace
} // namespace voltmetr
