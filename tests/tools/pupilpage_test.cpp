#include "app/oledate.h"
#include "app/procedury.h"
#include "exercise/meterface.h"
#include "periodbar.h"
#include "pupilpage.h"
#include "school/pupilstore.h"
#include "school/resultsstore.h"
#include "support/schoolfile.h"
#include "support/throwawayserver.h"
#include "taskreplay.h"
#include "teacherwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;
using teacher::PupilPage;

// Bílá of 2.A, worked by hand: on 4 December one task right on the 120-division meter; on
// 1 December (stored later) 1.1 V right, 3 V read as the 30 divisions the needle shows on the
// 10 V range (the source turned the right way by one reversal), and 50 V on 2 V, which destroyed
// the meter. Bílá of 2.B and Cígler are other pupils. On a file or a server.
class PupilPageTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        EXPECT_TRUE(addMissingPupils(
                        m_school.database(),
                        {{u"Bílá"_s, u"2.A"_s}, {u"Cígler"_s, u"2.A"_s}, {u"Bílá"_s, u"2.B"_s}})
                        .ok());
        const ResultsStore store(m_school.path());
        const auto run = [&](const QString& surname, const QString& pupilClass, int day,
                             int startMinutes, int endMinutes, std::vector<TaskRecord> tasks) {
            const double date = toOleDate(QDateTime({2026, 12, day}, {0, 0}));
            int right = 0;
            for (const TaskRecord& task : tasks) {
                right += task.verdict == TaskVerdict::Right ? 1 : 0;
            }
            const int wrong = static_cast<int>(tasks.size()) - right;
            EXPECT_TRUE(store
                            .appendRun({surname, pupilClass, right, wrong, startMinutes / 1440.0,
                                        endMinutes / 1440.0, date, u"zak"_s, 2},
                                       tasks)
                            .stored());
        };
        const auto task = [](int order, int divisions, float voltage, bool polarityRight,
                             float best, float used, int changes, int reversals, int overloads,
                             std::optional<QString> typed, TaskVerdict verdict, double seconds) {
            const std::optional<double> value =
                typed ? std::optional(QString(*typed).replace(u',', u'.').toDouble())
                      : std::nullopt;
            return TaskRecord{
                order, divisions, voltage,   polarityRight, best,
                used,  changes,   reversals, overloads,     verdict == TaskVerdict::Destroyed,
                typed, value,     verdict,   seconds};
        };
        run(u"Bílá"_s, u"2.A"_s, 4, 600, 605,
            {task(1, 120, 0.4f, true, 0.6f, 0.6f, 0, 0, 0, u"0,4"_s, TaskVerdict::Right, 5)});
        run(u"Bílá"_s, u"2.A"_s, 1, 540, 560,
            {task(1, 100, 1.1f, true, 2, 2, 1, 0, 0, u"1,1"_s, TaskVerdict::Right, 12.5),
             task(2, 100, 3, false, 5, 10, 2, 1, 0, u"30"_s, TaskVerdict::Wrong, 20),
             task(3, 100, 50, true, 100, 2, 0, 0, 1, std::nullopt, TaskVerdict::Destroyed, 7.5)});
        run(u"Bílá"_s, u"2.B"_s, 2, 540, 550,
            {task(1, 100, 1, true, 2, 2, 0, 0, 0, u"7"_s, TaskVerdict::Wrong, 3)});
        run(u"Cígler"_s, u"2.A"_s, 1, 540, 550,
            {task(1, 100, 1, true, 2, 2, 0, 0, 0, u"1"_s, TaskVerdict::Right, 3)});
    }

    static QStringList rows(const QTableView* view)
    {
        QStringList shown;
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < view->model()->columnCount(); ++column) {
                cells << view->model()->index(row, column).data().toString();
            }
            shown << cells.join(u'|');
        }
        return shown;
    }

    testing::SchoolFile m_school{u"skola.sqlite"_s,
                                 GetParam() ? testing::ThrowawayServer::newDatabase() : QString()};
};

TEST_P(PupilPageTest, ShowsThePupilsRunsAndTasksAndReplaysATaskWithThePupilsMeterFace)
{
    // The page opens on the days the class shows, 4 December alone, and follows their change.
    teacher::TeacherWindow window(m_school.path());
    const auto checkEnds = [&](bool checked) {
        for (QCheckBox* end : window.periodBar()->findChildren<QCheckBox*>()) {
            end->setChecked(checked);
        }
    };
    for (QDateEdit* end : window.periodBar()->findChildren<QDateEdit*>()) {
        end->setDate({2026, 12, 4});
    }
    checkEnds(true);
    QTableView* pupils = window.pupilView();
    for (int row = 0; row < pupils->model()->rowCount(); ++row) {
        if (pupils->model()->index(row, 0).data() == u"Bílá"_s) {
            pupils->setCurrentIndex(pupils->model()->index(row, 0));
        }
    }
    QTest::keyClick(pupils, Qt::Key_Return);
    auto* page = dynamic_cast<PupilPage*>(window.pages()->currentWidget());
    ASSERT_NE(page, nullptr) << "Enter on a pupil opens the pupil's page";
    EXPECT_EQ(window.pages()->tabText(window.pages()->currentIndex()), u"Žák: Bílá, 2.A"_s);
    const QAction* details = window.pupilMenu()->actions().value(0);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->shortcut(), QKeySequence(u"Ctrl+D"_s));

    EXPECT_TRUE(
        page->summary()->text().startsWith(u"Bílá, 2.A, od 4. 12. 2026 do 4. 12. 2026: 1 "
                                           "cvičení, 1 úloh v záznamu, úspěšnost 100,0 %."_s))
        << page->summary()->text().toStdString();
    EXPECT_EQ(rows(page->runsView()), QStringList(u"4. 12. 2026|10:00|10:05|1|0|100,0 %|1"_s));
    checkEnds(false);
    EXPECT_TRUE(page->summary()->text().startsWith(
        u"Bílá, 2.A, celé období: 2 cvičení, 4 úloh v záznamu, úspěšnost 50,0 %.\nÚspěšnost je"_s))
        << page->summary()->text().toStdString();
    EXPECT_EQ(page->chart()->accessibleDescription(),
              u"Úspěšnost po dnech: 1. 12. 2026 33,3 % (1 z 3); 4. 12. 2026 100,0 % (1 z 1)."_s);
    EXPECT_EQ(rows(page->runsView()), (QStringList{u"1. 12. 2026|9:00|9:20|1|2|33,3 %|3"_s,
                                                   u"4. 12. 2026|10:00|10:05|1|0|100,0 %|1"_s}));
    EXPECT_EQ(rows(page->tasksView()),
              (QStringList{u"1|120 dílků|0,4 V|0,6 V|0,6 V|0|0|0|0,4|správně|–|5,0 s"_s}))
        << "the latest run is shown first";

    page->runsView()->setCurrentIndex(page->runsView()->model()->index(0, 0));
    EXPECT_EQ(rows(page->tasksView()),
              (QStringList{u"1|100 dílků|1,1 V|2 V|2 V|1|0|0|1,1|správně|–|12,5 s"_s,
                           u"2|100 dílků|3 V|5 V|10 V|2|1|0|30|chybně|dílky místo voltů|20,0 s"_s,
                           u"3|100 dílků|50 V|100 V|2 V|0|0|1|–|měřák zničen|–|7,5 s"_s}));

    // The pupils' own face, as large as in the exercise window: 30 divisions of 100 rest at
    // 55 + 30 x 70 / 100 = 76 degrees; the destroyed meter shows its picture.
    MeterTables tables;
    FillTables(tables);
    MeterFace pupilsFace;
    pupilsFace.resize(409, 199);
    pupilsFace.DrawScale(tables.Meters[1]);
    const auto replayed = [&](int row) {
        page->tasksView()->setCurrentIndex(page->tasksView()->model()->index(row, 0));
        return page->replay()->face()->grab().toImage();
    };
    pupilsFace.SetNeedle(76);
    EXPECT_EQ(replayed(1), pupilsFace.grab().toImage());
    EXPECT_EQ(page->replay()->text(),
              u"Odpověď žáka: 30\nSprávně: 3 V\nVýsledek: chybně\n\nVýpočet, jak ho program "
              u"ukazuje žákovi po chybné odpovědi:\n"
              "Rozsah: 5 V\nStupnice má: 100 dílků\nRučička ukazuje na: 60 dílek\n"
              "Měřené napětí je: (5 V / 100 dílků) *  60 dílků =\n=  3 V"_s);
    pupilsFace.SetNeedle(51); // the stop a reversed source would peg it at
    EXPECT_NE(replayed(1), pupilsFace.grab().toImage()) << "the check sees the needle";
    pupilsFace.showDestroyedMeter();
    EXPECT_EQ(replayed(2), pupilsFace.grab().toImage());

    for (const QWidget* control : page->findChildren<QWidget*>()) {
        EXPECT_TRUE(control->focusPolicy() == Qt::NoFocus || !control->accessibleName().isEmpty())
            << control->metaObject()->className() << " has no name";
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, PupilPageTest, ::testing::Bool(),
                         [](const auto& server) { return server.param ? "Server" : "File"; });

} // namespace
} // namespace voltmetr
