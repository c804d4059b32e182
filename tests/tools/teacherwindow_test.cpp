#include "app/oledate.h"
#include "school/pupilstore.h"
#include "school/resultsstore.h"
#include "support/schoolfile.h"
#include "support/throwawayserver.h"
#include "teacherwindow.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;
using teacher::PupilTable;

// The teacher's window on a class of four, worked by hand: Adámek never practised; Cígler 3 of
// 10 right in each of ten runs (30 %), Dvořák 5 of 10 (50 %), Bílá 9 of 10 in two runs (90 %). On a
// file or a server.
class TeacherWindowTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        EXPECT_TRUE(addMissingPupils(m_school.database(), {{u"Adámek"_s, u"2.A"_s},
                                                           {u"Bílá"_s, u"2.A"_s},
                                                           {u"Cígler"_s, u"2.A"_s},
                                                           {u"Dvořák"_s, u"2.B"_s}})
                        .ok());
        const ResultsStore store(m_school.path());
        const auto run = [&](const QString& surname, const QString& pupilClass, int right,
                             int wrong, int day) {
            const double when = toOleDate(QDateTime({2026, 12, day}, {9, 0}));
            EXPECT_TRUE(store
                            .appendRun({surname, pupilClass, right, wrong, oleTimePart(when),
                                        oleTimePart(when), oleDatePart(when), u"zak"_s, 2})
                            .stored());
        };
        run(u"Bílá"_s, u"2.A"_s, 5, 1, 1);
        run(u"Bílá"_s, u"2.A"_s, 4, 0, 4);
        for (int i = 0; i < 10; ++i) {
            run(u"Cígler"_s, u"2.A"_s, 3, 7, 2);
        }
        run(u"Dvořák"_s, u"2.B"_s, 5, 5, 3);
    }

    // Each row as "surname|runs|share|last practice", in the order the window shows them.
    static QStringList rows(const teacher::TeacherWindow& window)
    {
        const QAbstractItemModel* model = window.pupilView()->model();
        QStringList shown;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (const int column : {PupilTable::Surname, PupilTable::Runs, PupilTable::RightShare,
                                     PupilTable::LastPractised}) {
                cells << model->index(row, column).data().toString();
            }
            shown << cells.join(u'|');
        }
        return shown;
    }
    static QString shareColour(const teacher::TeacherWindow& window, int row)
    {
        return window.pupilView()
            ->model()
            ->index(row, PupilTable::RightShare)
            .data(Qt::ForegroundRole)
            .value<QBrush>()
            .color()
            .name();
    }

    testing::SchoolFile m_school{u"skola.sqlite"_s,
                                 GetParam() ? testing::ThrowawayServer::newDatabase() : QString()};
};

TEST_P(TeacherWindowTest, ShowsEveryListedPupilByNeedAndOrdersByAColumnOnAClick)
{
    teacher::TeacherWindow window(m_school.path());
    EXPECT_EQ(window.windowTitle(), u"Voltmetr – učitel"_s);
    QStringList classes;
    for (int i = 0; i < window.classChoice()->count(); ++i) {
        classes << window.classChoice()->itemText(i);
    }
    EXPECT_EQ(classes, (QStringList{u"Všechny třídy"_s, u"2.A"_s, u"2.B"_s}));

    const QStringList byNeed{u"Adámek|necvičil(a)||"_s, u"Cígler|10|30,0 %|2. 12. 2026"_s,
                             u"Dvořák|1|50,0 %|3. 12. 2026"_s, u"Bílá|2|90,0 %|4. 12. 2026"_s};
    EXPECT_EQ(rows(window), (QStringList{byNeed[0], byNeed[1], byNeed[3]})) << "2.A first";
    window.classChoice()->setCurrentIndex(0);
    EXPECT_EQ(rows(window), byNeed);
    EXPECT_EQ(shareColour(window, 1), u"#c62828"_s); // below 50 %
    EXPECT_EQ(shareColour(window, 2), u"#ef8f00"_s); // 50 % is the middle band's
    EXPECT_EQ(shareColour(window, 3), u"#2e7d32"_s); // from 80 %

    window.pupilView()->sortByColumn(PupilTable::Runs, Qt::DescendingOrder);
    EXPECT_EQ(rows(window), (QStringList{byNeed[1], byNeed[3], byNeed[2], byNeed[0]}))
        << "by the number of runs, not by its text";
    window.pages()->widget(0)->findChild<QPushButton*>()->click(); // the class page's one
    EXPECT_EQ(rows(window), byNeed);

    window.classChoice()->setCurrentIndex(2);
    EXPECT_EQ(rows(window), (QStringList{u"Dvořák|1|50,0 %|3. 12. 2026"_s}));
}

INSTANTIATE_TEST_SUITE_P(Engines, TeacherWindowTest, ::testing::Bool(),
                         [](const auto& server) { return server.param ? "Server" : "File"; });

} // namespace
} // namespace voltmetr
