#include "results/runfixture.h"
#include "ui/info.h"

#include <QLabel>
#include <QTest>

namespace voltmetr {
namespace {

class InfoTest : public testing::RunFixture
{
};

QString textOf(QWidget& window, const char* name)
{
    const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

TEST_F(InfoTest, TellsWhatTheProgramIsAndWhoToWrite)
{
    info box(context);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Informace"));
    EXPECT_EQ(textOf(box, "Label2"), QStringLiteral("Prověřovák 2: Měření na voltmetru"));
    EXPECT_TRUE(textOf(box, "Label7").startsWith(QStringLiteral("verze 2.0\n")));
    EXPECT_TRUE(
        textOf(box, "Label3")
            .startsWith(QStringLiteral("Tento program je určen žákům SPŠ Lipová na procvičování")));
    EXPECT_TRUE(
        textOf(box, "Label3").contains(QStringLiteral("\nMnoho správných měření Vám přeje\n")));
    EXPECT_TRUE(
        textOf(box, "Label4").endsWith(QStringLiteral("můžete mě kontaktovat e-mailem na:")));
    EXPECT_EQ(textOf(box, "Label6"), QStringLiteral("voltmetr@example.cz"));
}

TEST_F(InfoTest, EveryClickOnTheAddressOpensAMailAndTheBoxStays)
{
    info box(context);
    box.show();
    auto* address = box.findChild<QLabel*>(QStringLiteral("Label6"));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(address, Qt::LeftButton);
    QTest::mouseClick(address, Qt::LeftButton);
    EXPECT_EQ(host.openedLinks,
              (std::vector<QString>{QStringLiteral("mailto:voltmetr@example.cz"),
                                    QStringLiteral("mailto:voltmetr@example.cz")}));
    EXPECT_TRUE(box.isVisible());
    QTest::mouseClick(box.findChild<QLabel*>(QStringLiteral("Label4")), Qt::LeftButton);
    EXPECT_EQ(host.openedLinks.size(), 2u) << "only the address is a link";
}

TEST_F(InfoTest, EnterClosesEscDoesNot)
{
    info box(context);
    box.show();
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST_F(InfoTest, ClosingFromTheDesktopActsAsOk)
{
    info box(context);
    box.show();
    box.close();
    EXPECT_FALSE(box.isVisible());
    EXPECT_FALSE(host.ended);
}

TEST_F(InfoTest, EveryCaptionFitsItsElement)
{
    info window(context);
    window.show();
    EXPECT_EQ(clippedCaptions(window), QStringList());
}

} // namespace
} // namespace voltmetr
