#include "results/windowfixture.h"
#include "signin/welcome.h"
#include "ui/info.h"

#include <QTest>

namespace voltmetr {
namespace {

class InfoTest : public testing::WindowFixture
{
};

TEST_F(InfoTest, OProgramuShowsItAndOnlyTheAddressOpensAMailThroughTheHost)
{
    Welcome welcome(context);
    welcome.show();
    host.onNextModal([](QDialog& about) {
        for (const char* label : {"Label6", "Label4", "Label6"}) {
            QTest::mouseClick(about.findChild<QLabel*>(QString::fromLatin1(label)), Qt::LeftButton);
        }
        EXPECT_TRUE(about.isVisible());
        click(about, "Command1");
    });
    click(welcome, "Command3");
    EXPECT_EQ(host.modalTitles, std::vector<QString>{QStringLiteral("Informace")});
    EXPECT_EQ(host.openedLinks,
              std::vector<QString>(2, QStringLiteral("mailto:voltmetr@example.cz")));
    EXPECT_TRUE(welcome.isVisible());
}

TEST_F(InfoTest, EnterAndTheDesktopsCloseActAsOkEscDoesNothing)
{
    const struct
    {
        const char* name;
        std::function<void(info&)> press;
        bool closes;
    } cases[] = {
        {"Esc", [](info& box) { QTest::keyClick(&box, Qt::Key_Escape); }, false},
        {"Enter", [](info& box) { QTest::keyClick(&box, Qt::Key_Return); }, true},
        {"closed from the desktop", [](info& box) { box.close(); }, true},
    };
    for (const auto& c : cases) {
        info box(context);
        box.show();
        c.press(box);
        EXPECT_EQ(box.isVisible(), !c.closes) << c.name;
        EXPECT_FALSE(host.ended) << c.name;
    }
}

} // namespace
} // namespace voltmetr
