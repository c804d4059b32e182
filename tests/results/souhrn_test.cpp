#include "results/reportdecoder.h"
#include "results/runsummary.h"
#include "results/souhrn.h"
#include "windowfixture.h"

#include <QFile>

namespace voltmetr {
namespace {

TEST(CountCaption, TheNumberChoosesTheNounsForm)
{
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, " 0 příkladů"},   {1, " 1 příklad"},
        {2, " 2 příklady"},   {4, " 4 příklady"},
        {5, " 5 příkladů"},   {11, " 11 příkladů"},
        {21, " 21 příkladů"}, {22, " 22 příkladů"},
        {-2, "-2 příkladů"},  {3000000000LL, " 3000000000 příkladů"},
    };
    for (const auto& [n, caption] : cases) {
        EXPECT_EQ(countCaption(n), QString::fromUtf8(caption)) << n;
    }
}

using SouhrnTest = testing::WindowFixture;

// The row cannot be stored: the run is handed out as a report instead of being lost. The
// report starts on the sign-in's day, or the day before when that time is still to come.
TEST_F(SouhrnTest, ARowThatCannotBeStoredIsReportedAndHandedOutAsAReport)
{
    // The database (beside a skola.sqlite without its results table), the sign-in's time of day
    // and the report's start.
    const std::tuple<const char*, const char*, double, const char*> cases[] = {
        {"results table gone", "skola.sqlite", 9.0 / 24, "07.12.2026 09:00"},
        {"file gone since a sign-in before midnight", "pryc.sqlite", 23.5 / 24, "06.12.2026 23:30"},
    };
    school.exec(QStringLiteral("DROP TABLE \"Prehled \""));
    state.ProfileSurname = QStringLiteral("Novák");
    state.ProfileClass = QStringLiteral("3.B");
    state.RightCount = 5;
    state.WrongCount = 2;
    host.setClock(46363 + 9 / 24.0 + 40 / 1440.0); // 07.12.2026 09:40
    for (const auto& [name, database, startTime, from] : cases) {
        useDatabase(school.folder() + u'/' + QString::fromLatin1(database));
        host.messages.clear();
        state.StartTime = startTime;
        host.onNextModal([](QDialog& report) { click(report, "final"); });
        Souhrn window(context);
        ASSERT_EQ(host.messages.size(), 1u) << name;
        EXPECT_TRUE(host.messages[0].prompt.startsWith(
            QStringLiteral("Výsledek se nepodařilo uložit do školní databáze.")));
        EXPECT_EQ(captions(window, "Celk"), QStringList(3, QStringLiteral("není k dispozici")));
        EXPECT_EQ(decodeReport(coder.GetReportText()).text,
                  QStringLiteral("Student: Novák\r\nTřída: 3.B\r\n"
                                 "Prověřovák: 2 - Měření na voltmetru\r\nOd: %1\r\n"
                                 "Do: 07.12.2026 09:40\r\nCelkem odpovědí: 7\r\n"
                                 "Z toho dobře: 5 (71,43%)\r\nšpatně: 2 (28,57%)\r\n")
                      .replace(u',', QLocale::system().decimalPoint())
                      .arg(QString::fromLatin1(from)))
            << name;
        EXPECT_FALSE(QFile::exists(school.folder() + QStringLiteral("/pryc.sqlite")));
        click(window, "Command1");
        EXPECT_EQ(host.modalTitles.back(), QStringLiteral("Generované informace pro vyučujícího"));
    }
}

} // namespace
} // namespace voltmetr
