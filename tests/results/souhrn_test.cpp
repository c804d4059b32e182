#include "app/oledate.h"
#include "results/reportdecoder.h"
#include "results/souhrn.h"
#include "windowfixture.h"

#include <QTest>

namespace voltmetr {
namespace {

class SouhrnTest : public testing::WindowFixture
{
protected:
    SouhrnTest()
    {
        host.setClock(toOleDate(QDateTime(QDate(2026, 12, 7), QTime(9, 40, 12))));
        state.ProfileSurname = QStringLiteral("Novák");
        state.ProfileClass = QStringLiteral("3.B");
        state.StartTime = 9.0 / 24;
    }
};

// The row cannot be stored: the run is handed out as a report instead of being lost.
TEST_F(SouhrnTest, ARowThatCannotBeStoredIsReportedAndHandedOutAsAReport)
{
    const struct
    {
        const char* name;
        std::function<void(testing::SchoolFile&)> breakIt;
        double startTime;
        const char* from;
    } cases[] = {
        {"results table gone",
         [](testing::SchoolFile& f) { f.exec(QStringLiteral("DROP TABLE \"Prehled \"")); },
         9.0 / 24, "07.12.2026 09:00"},
        {"database file gone since a sign-in before midnight",
         [](testing::SchoolFile& f) { useDatabase(f.folder() + QStringLiteral("/pryc.sqlite")); },
         23.5 / 24, "06.12.2026 23:30"},
    };
    for (const auto& c : cases) {
        testing::SchoolFile file;
        useDatabase(file.path());
        c.breakIt(file);
        host.messages.clear();
        host.ended = false;
        state.StartTime = c.startTime;
        state.RightCount = 5;
        state.WrongCount = 2;
        Souhrn window(context);
        ASSERT_EQ(host.messages.size(), 1u) << c.name;
        EXPECT_EQ(host.messages[0].style, MessageStyle::OkCritical) << c.name;
        EXPECT_TRUE(host.messages[0].prompt.startsWith(
            QStringLiteral("Výsledek se nepodařilo uložit do školní databáze.")))
            << c.name;
        EXPECT_EQ(captions(window, "Celk"), QStringList(3, QStringLiteral("není k dispozici")))
            << c.name;
        EXPECT_EQ(decodeReport(coder.GetReportText()).text,
                  QStringLiteral("Student: Novák\r\nTřída: 3.B\r\n"
                                 "Prověřovák: 2 - Měření na voltmetru\r\nOd: %1\r\n"
                                 "Do: 07.12.2026 09:40\r\nCelkem odpovědí: 7\r\n"
                                 "Z toho dobře: 5 (71,43%)\r\nšpatně: 2 (28,57%)\r\n")
                      .replace(u',', QLocale::system().decimalPoint())
                      .arg(QString::fromLatin1(c.from)))
            << c.name;

        host.onNextModal([](QDialog& list) { click(list, "final"); });
        window.show();
        click(window, "Command1");
        EXPECT_EQ(host.modalTitles.back(), QStringLiteral("Generované informace pro vyučujícího"));
        EXPECT_TRUE(host.ended) << c.name;
    }
}

// However the summary is left, the program ends and the run was stored once.
TEST_F(SouhrnTest, EscEnterAndTheDesktopsCloseActAsOk)
{
    const struct
    {
        const char* name;
        std::function<void(Souhrn&)> leave;
    } cases[] = {
        {"Esc", [](Souhrn& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"Enter", [](Souhrn& w) { QTest::keyClick(&w, Qt::Key_Return); }},
        {"closed from the desktop", [](Souhrn& w) { w.close(); }},
    };
    for (const auto& c : cases) {
        host.ended = false;
        Souhrn window(context);
        window.show();
        c.leave(window);
        EXPECT_TRUE(host.ended) << c.name;
        EXPECT_FALSE(window.isVisible()) << c.name;
    }
    EXPECT_EQ(school.resultRows().size(), 3u) << "a run without answers is stored all the same";
    EXPECT_TRUE(host.modalTitles.empty()) << "no report after a stored run";
}

} // namespace
} // namespace voltmetr
