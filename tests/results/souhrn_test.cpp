#include "app/oledate.h"
#include "results/reportdecoder.h"
#include "results/souhrn.h"
#include "runfixture.h"
#include "schoolfile.h"

#include <QFile>
#include <QLabel>
#include <QTest>

namespace voltmetr {
namespace {

QString caption(QWidget& window, const QString& name)
{
    const auto* label = window.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(name);
}

QStringList captions(QWidget& window, const char* family)
{
    QStringList texts;
    for (int i = 0; i < 3; ++i) {
        texts << caption(window, QString::fromLatin1(family) + QString::number(i));
    }
    return texts;
}

const QString notAvailable = QStringLiteral("není k dispozici");

class SouhrnTest : public testing::RunFixture
{
protected:
    SouhrnTest()
    {
        useDatabase(school.path());
        host.setClock(toOleDate(QDateTime(QDate(2026, 12, 7), QTime(9, 40, 12))));
        host.setLoginName(QStringLiteral("novak.petr"));
    }

    void signInAtSchool(std::int32_t right, std::int32_t wrong)
    {
        state.EmailMode = false;
        state.ProfileSurname = QStringLiteral("Novák");
        state.ProfileClass = QStringLiteral("3.B");
        state.StartTime = 9.0 / 24;
        state.RightCount = right;
        state.WrongCount = wrong;
    }

    void signInByEmail(std::int32_t right, std::int32_t wrong)
    {
        state.EmailMode = true;
        state.PupilName = QStringLiteral("Eva Malá");
        state.PupilClass = QStringLiteral("1.A");
        state.StartDateTime = toOleDate(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
        state.RightCount = right;
        state.WrongCount = wrong;
        coder.InitReportCoder();
    }

    testing::SchoolFile school;
};

TEST_F(SouhrnTest, SchoolRunIsStoredAndShowsTodayAndAllTime)
{
    school.addResult(QStringLiteral("Novák"), 10, 2);
    school.addResult(QStringLiteral("Svoboda"), 99, 99);
    signInAtSchool(3, 1);
    Souhrn window(context);
    EXPECT_EQ(captions(window, "Dnes"),
              (QStringList{QStringLiteral(" 4 příklady"), QStringLiteral(" 3 příklady"),
                           QStringLiteral(" 1 příklad")}));
    EXPECT_EQ(captions(window, "Celk"),
              (QStringList{QStringLiteral(" 16 příkladů"), QStringLiteral(" 13 příkladů"),
                           QStringLiteral(" 3 příklady")}));
    const auto rows = school.resultRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][0].toString(), QStringLiteral("Novák"));
    EXPECT_EQ(rows[2][7].toString(), QStringLiteral("novak.petr"));
    EXPECT_TRUE(host.messages.empty());

    click(window, "Command1");
    EXPECT_TRUE(host.ended);
    EXPECT_TRUE(host.modalTitles.empty()) << "no report window in school-server mode";
}

TEST_F(SouhrnTest, ARunWithNoAnswersStillStoresARow)
{
    signInAtSchool(0, 0);
    Souhrn window(context);
    const QStringList zero(3, QStringLiteral(" 0 příkladů"));
    EXPECT_EQ(captions(window, "Dnes"), zero);
    EXPECT_EQ(captions(window, "Celk"), zero);
    ASSERT_EQ(school.resultRows().size(), 1u);
    EXPECT_EQ(school.resultRows()[0][2].toInt(), 0);
    EXPECT_EQ(school.resultRows()[0][3].toInt(), 0);
}

TEST_F(SouhrnTest, EmailRunNeverOpensTheDatabaseAndHandsTheReportOut)
{
    testing::SchoolFile other;
    const struct
    {
        const char* name;
        QString database;
    } cases[] = {
        {"database present", school.path()},
        {"database missing", other.folder() + QStringLiteral("/nikde/skola.sqlite")},
        {"a folder where the file should be", other.folder()},
    };
    for (const auto& c : cases) {
        useDatabase(c.database);
        host.ended = false;
        signInByEmail(1, 2);
        Souhrn window(context);
        EXPECT_EQ(captions(window, "Dnes"),
                  (QStringList{QStringLiteral(" 3 příklady"), QStringLiteral(" 1 příklad"),
                               QStringLiteral(" 2 příklady")}))
            << c.name;
        EXPECT_EQ(captions(window, "Celk"), QStringList(3, notAvailable)) << c.name;
        EXPECT_TRUE(host.messages.empty()) << c.name;
        EXPECT_TRUE(school.resultRows().empty()) << c.name;

        const DecodedReport report = decodeReport(coder.GetReportText());
        ASSERT_TRUE(report.ok()) << c.name;
        EXPECT_TRUE(report.text.startsWith(QStringLiteral("Student: Eva Malá\r\nTřída: 1.A\r\n")))
            << c.name;

        bool reportShown = false;
        host.onNextModal([&](QDialog& list) {
            reportShown =
                list.windowTitle() == QStringLiteral("Generované informace pro vyučujícího");
            click(list, "final");
        });
        window.show();
        click(window, "Command1");
        EXPECT_TRUE(reportShown) << c.name;
        EXPECT_FALSE(window.isVisible()) << c.name;
        EXPECT_TRUE(host.ended) << c.name;
    }
}

// The row cannot be stored: the run is handed out as a report instead of being lost.
TEST_F(SouhrnTest, ARowThatCannotBeStoredIsReportedAndHandedOutAsAReport)
{
    const struct
    {
        const char* name;
        std::function<void(testing::SchoolFile&)> breakIt;
    } cases[] = {
        {"results table gone",
         [](testing::SchoolFile& f) { f.exec(QStringLiteral("DROP TABLE \"Prehled \"")); }},
        {"database file gone since sign-in",
         [](testing::SchoolFile& f) {
             useDatabase(f.folder() + QStringLiteral("/smazana.sqlite"));
         }},
    };
    for (const auto& c : cases) {
        testing::SchoolFile file;
        useDatabase(file.path());
        c.breakIt(file);
        host.messages.clear();
        host.queueRandom({0.5f});
        signInAtSchool(5, 2);
        Souhrn window(context);
        ASSERT_EQ(host.messages.size(), 1u) << c.name;
        EXPECT_EQ(host.messages[0].style, MessageStyle::OkCritical) << c.name;
        EXPECT_TRUE(host.messages[0].prompt.startsWith(
            QStringLiteral("Výsledek se nepodařilo uložit do školní databáze.")))
            << c.name;
        EXPECT_EQ(captions(window, "Celk"), QStringList(3, notAvailable)) << c.name;
        EXPECT_EQ(caption(window, QStringLiteral("Dnes0")), QStringLiteral(" 7 příkladů"));

        const DecodedReport report = decodeReport(coder.GetReportText());
        ASSERT_TRUE(report.ok()) << c.name << ": " << report.error.toStdString();
        EXPECT_EQ(report.text, QStringLiteral("Student: Novák\r\n"
                                              "Třída: 3.B\r\n"
                                              "Prověřovák: 2 - Měření na voltmetru\r\n"
                                              "Od: 07.12.2026 09:00\r\n"
                                              "Do: 07.12.2026 09:40\r\n"
                                              "Celkem odpovědí: 7\r\n"
                                              "Z toho dobře: 5 (71,43%)\r\n"
                                              "špatně: 2 (28,57%)\r\n")
                                   .replace(QStringLiteral(","), QLocale::system().decimalPoint()))
            << c.name;

        host.ended = false;
        host.onNextModal([](QDialog& list) { click(list, "final"); });
        window.show();
        click(window, "Command1");
        EXPECT_TRUE(host.ended) << c.name;
    }
}

TEST_F(SouhrnTest, EscAndTheDesktopsCloseActAsOk)
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
        signInAtSchool(1, 0);
        Souhrn window(context);
        window.show();
        c.leave(window);
        EXPECT_TRUE(host.ended) << c.name;
        EXPECT_FALSE(window.isVisible()) << c.name;
    }
    EXPECT_EQ(school.resultRows().size(), 3u) << "one row per summary, however it was left";
}

TEST_F(SouhrnTest, EveryCaptionFitsItsElement)
{
    signInAtSchool(20, 20);
    Souhrn window(context);
    window.show();
    EXPECT_EQ(clippedCaptions(window), QStringList());
}

} // namespace
} // namespace voltmetr
