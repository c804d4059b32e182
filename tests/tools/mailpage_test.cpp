#include "mailpage.h"
#include "report/reportsamples.h"
#include "school/pupilstore.h"
#include "school/resultsstore.h"
#include "support/schoolfile.h"
#include "support/throwawayserver.h"
#include "teacherwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;
using teacher::MailPage;

// A mail from a class with Adámek and Bílá in 2.A and Dvořák in 2.B, of whom Bílá stored a run
// of 4 right on 4. 12. from the pupils' program itself. It holds a report signed "Jana Bílá, 2a"
// (6 right, 4 wrong), one of Holý, 2.B, who is not listed (3, 1), one of Karel Nový, 2.A, not
// listed either (1, 1), a report of Bílá's stored run, and a damaged one. On a file or a server.
class MailPageTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        EXPECT_TRUE(addMissingPupils(
                        m_school.database(),
                        {{u"Adámek"_s, u"2.A"_s}, {u"Bílá"_s, u"2.A"_s}, {u"Dvořák"_s, u"2.B"_s}})
                        .ok());
        const double when = toOleDate(QDateTime({2026, 12, 4}, {9, 0}));
        EXPECT_TRUE(ResultsStore(m_school.path())
                        .appendRun({u"Bílá"_s, u"2.A"_s, 4, 0, oleTimePart(when), oleTimePart(when),
                                    oleDatePart(when), u"zak"_s, 2})
                        .stored());
        const QDateTime storedRun({2026, 12, 4}, {9, 0});
        const QString damaged =
            testing::encodedReport(testing::sampleReportText(u"Adámek"_s, u"2.A"_s, 1, 0));
        QFile list(path(u"seznam.csv"_s)), mail(path(u"posta.eml"_s));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly) && mail.open(QIODevice::WriteOnly));
        list.write("Příjmení;Třída\nNová;2.A\n");
        mail.write(
            u"From: trida@skola.cz\nSubject: Výsledky\n\n%1\n%2\n%3\n%4\n%5\n"_s
                .arg(testing::encodedReport(
                         testing::sampleReportText(u"Jana Bílá"_s, u"2a"_s, 6, 4)),
                     testing::encodedReport(testing::sampleReportText(u"Holý"_s, u"2.B"_s, 3, 1)),
                     testing::encodedReport(
                         testing::sampleReportText(u"Karel Nový"_s, u"2.A"_s, 1, 1)),
                     testing::encodedReport(testing::sampleReportText(u"Bílá"_s, u"2.A"_s, 4, 0,
                                                                      storedRun, storedRun)),
                     u"4c"_s + damaged.sliced(2))
                .toUtf8());
    }

    QString path(const QString& name) const { return m_school.folder() + u'/' + name; }

    // Each row's "whose it is|state".
    static QStringList rows(const MailPage& page)
    {
        QStringList shown;
        for (int row = 0; row < page.reportView()->rowCount(); ++row) {
            shown << page.reportView()->item(row, MailPage::Owner)->text() + u'|' +
                         page.reportView()->item(row, MailPage::State)->text();
        }
        return shown;
    }
    // The class page's rows of all classes, "surname|runs|share".
    static QStringList classRows(const teacher::TeacherWindow& window)
    {
        const QAbstractItemModel* model = window.pupilView()->model();
        QStringList shown;
        for (int row = 0; row < model->rowCount(); ++row) {
            shown << u"%1|%2|%3"_s.arg(model->index(row, 0).data().toString(),
                                       model->index(row, 2).data().toString(),
                                       model->index(row, 4).data().toString());
        }
        return shown;
    }
    static void click(const QWidget& page, const QString& text)
    {
        for (QPushButton* button : page.findChildren<QPushButton*>()) {
            if (button->text() == text) {
                button->click();
                return;
            }
        }
        FAIL() << text.toStdString();
    }

    testing::SchoolFile m_school{u"skola.sqlite"_s,
                                 GetParam() ? testing::ThrowawayServer::newDatabase() : QString()};
};

TEST_P(MailPageTest, ADroppedMailIsAssignedByTheListOrByTheTeacherAndStoredOnce)
{
    teacher::TeacherWindow window(m_school.path());
    window.classChoice()->setCurrentIndex(0); // all classes
    auto* page = window.findChild<MailPage*>();
    QMimeData dragged;
    dragged.setUrls({QUrl::fromLocalFile(path(u"posta.eml"_s))});
    QDragEnterEvent enter({10, 10}, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop({10, 10}, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter); // the drop goes where the drag was accepted
    QApplication::sendEvent(&window, &drop);
    EXPECT_EQ(window.pages()->currentWidget(), page);
    const QString damaged =
        u"|poškozená zpráva: Zpráva nezačíná dvojicí „4b“: dvojice č. 1 je „4c“."_s;
    EXPECT_EQ(rows(*page), (QStringList{u"Bílá (2.A)|k uložení"_s, u"nepřiřazeno|k uložení"_s,
                                        u"nepřiřazeno|k uložení"_s,
                                        u"Bílá (2.A)|už uloženo programem žáka"_s, damaged}));

    click(*page, u"Uložit &vše"_s);
    EXPECT_EQ(rows(*page).mid(0, 3),
              (QStringList{u"Bílá (2.A)|už uloženo"_s, u"nepřiřazeno|k uložení"_s,
                           u"nepřiřazeno|k uložení"_s}))
        << "a report that is no listed pupil's waits for the teacher";

    page->reportView()->selectRow(1);
    EXPECT_EQ(page->pupilChoice()->itemText(0), u"Dvořák (2.B)"_s) << "the class's pupils first";
    click(*page, u"Př&iřadit"_s);
    page->reportView()->selectRow(2);
    click(*page, u"Přidat jako &nového žáka"_s);
    EXPECT_EQ(rows(*page).mid(1, 2), (QStringList{u"Dvořák (2.B), přiřadil učitel|k uložení"_s,
                                                  u"nový žák Karel Nový (2.A)|k uložení"_s}));

    const QStringList stored{
        u"Bílá (2.A)|už uloženo"_s, u"Dvořák (2.B), přiřadil učitel|už uloženo"_s,
        u"Karel Nový (2.A)|už uloženo"_s, u"Bílá (2.A)|už uloženo programem žáka"_s, damaged};
    const QStringList classPage{u"Adámek|necvičil(a)|"_s, u"Karel Nový|1|50,0 %"_s,
                                u"Bílá|2|71,4 %"_s, u"Dvořák|1|75,0 %"_s};
    for (const char* time : {"assigned", "again", "dropped again"}) {
        if (time == std::string_view("dropped again")) {
            EXPECT_EQ(page->openFiles({path(u"posta.eml"_s), path(u"seznam.csv"_s)}),
                      QStringList{path(u"seznam.csv"_s)});
        }
        click(*page, u"Uložit &vše"_s);
        EXPECT_EQ(rows(*page), stored) << time;
        EXPECT_EQ(classRows(window), classPage) << time;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, MailPageTest, ::testing::Bool(),
                         [](const auto& server) { return server.param ? "Server" : "File"; });

} // namespace
} // namespace voltmetr
