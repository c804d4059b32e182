// How a run ends: stored with the pupil's totals, or encoded as the report the pupil hands out.
#include "report/reportdecoder.h"
#include "report/reportkey.h"
#include "results/runend.h"
#include "results/runsummary.h"
#include "support/schoolfile.h"
#include "support/scriptedhost.h"

#include <QSignalSpy>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

TEST(CountCaption, TheNumberChoosesTheForm)
{
    QStringList captions;
    for (const std::int64_t n : {0, 1, 2, 4, 5, 21, 22, -2}) {
        captions << countCaption(n);
    }
    EXPECT_EQ(captions.join(u'|'), u" 0 příkladů| 1 příklad| 2 příklady| 4 příklady| 5 příkladů|"
                                   u" 21 příkladů| 22 příkladů|-2 příkladů"_s);
}

// A school-server run is stored and shows the surname's totals, whatever the class; one that
// cannot be stored is reported and handed out, starting on the sign-in's day, or the day before
// when that time is still to come. An e-mail run is handed out and touches no database.
TEST(RunEnd, StoresTheRunOrHandsItOut)
{
    const auto on7December = [](double hours) { return 46363 + hours / 24; };
    const auto joined = [](const RunEnd::Counts& c) {
        return QStringList(c.begin(), c.end()).join(u'|');
    };
    testing::SchoolFile school;
    school.addResult(u"Novák"_s, 10, 2); // the other Novák, last week
    testing::SchoolFile broken;
    broken.exec(u"DROP TABLE \"Prehled \""_s);
    // Whether an e-mail run, the database, the time of day of the sign-in, the all-time counts
    // once the save has ended (or none), why it was not stored (or nothing), the report's start
    // (or nothing when none is handed out).
    const std::tuple<const char*, bool, QString, double, const char*, const char*, const char*>
        cases[] = {
            {"stored", false, school.path(), 9.0 / 24, " 17 příkladů| 13 příkladů| 4 příklady",
             nullptr, nullptr},
            {"results table gone", false, broken.path(), 9.0 / 24, nullptr,
             "v databázi chybí tabulka „Prehled “", "07.12.2026 09:00"},
            {"file gone since a sign-in before midnight", false,
             school.folder() + u"/pryc.sqlite"_s, 23.5 / 24, nullptr,
             "soubor databáze nejde otevřít: chybí, nebo k němu není přístup", "06.12.2026 23:30"},
            {"e-mail", true, school.path(), 0, nullptr, nullptr, "07.12.2026 08:15"},
        };
    for (const auto& [name, email, database, startTime, totals, reason, report] : cases) {
        qputenv("VOLTMETR_DB", database.toUtf8());
        testing::ScriptedCoreHost host;
        host.setLoginName(u"zak07"_s);
        host.setClock(on7December(9 + 40 / 60.0));
        Info2 coder(host);
        email ? coder.InitReportCoder() : void(); // as the sign-in does
        Data_a_promene state;
        state.EmailMode = email;
        (email ? state.PupilName : state.ProfileSurname) = u"Novák"_s;
        (email ? state.PupilClass : state.ProfileClass) = u"3.B"_s;
        state.StartTime = startTime;
        state.StartDateTime = on7December(8.25);
        state.RightCount = 3;
        state.WrongCount = 2;

        RunEnd end(host, state, coder);
        QSignalSpy ended(&end, &RunEnd::saveEnded);
        ASSERT_TRUE(email || ended.wait(60'000)) << name;
        const QString notAvailable = QStringList(3, u"není k dispozici"_s).join(u'|');
        EXPECT_EQ(
            std::tuple(end.saving(), joined(end.total()), end.handsOutReport()),
            std::tuple(false, totals ? QString::fromUtf8(totals) : notAvailable, report != nullptr))
            << name;
        QStringList told;
        for (const auto& [prompt, title, style] : host.messages) {
            told << title + u": "_s + prompt.section(u"\n\n"_s, 0, 1);
        }
        EXPECT_EQ(told, reason ? QStringList{u"Školní databáze: Výsledek se nepodařilo uložit do "
                                             u"školní databáze.\n\nDůvod: "_s +
                                             QString::fromUtf8(reason)}
                               : QStringList());
        if (report) {
            EXPECT_EQ(decodeReport(coder.GetReportText()).text,
                      u"Student: Novák\r\nTřída: 3.B\r\nPrověřovák: 2 - Měření na voltmetru\r\n"
                      u"Od: %1\r\nDo: 07.12.2026 09:40\r\nCelkem odpovědí: 5\r\n"
                      u"Z toho dobře: 3 (60,00%)\r\nšpatně: 2 (40,00%)\r\n"_s
                          .arg(QString::fromUtf8(report))
                          .replace(u',', QLocale::system().decimalPoint()))
                << name;
        }
    }
    // The stored run alone was added, after last week's, and no database file was made.
    const auto rows = school.resultRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (QVariantList{u"Novák"_s, u"3.B"_s, 3, 2, 9.0 / 24,
                                     on7December(9 + 40 / 60.0) - 46363, 46363.0, u"zak07"_s,
                                     ExerciseTypeCode}));
    EXPECT_FALSE(QFile::exists(school.folder() + u"/pryc.sqlite"_s));
}

} // namespace
} // namespace voltmetr
