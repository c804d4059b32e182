#include "app/oledate.h"
#include "classlistdialog.h"
#include "overviewexport.h"
#include "overviewprint.h"
#include "periodbar.h"
#include "pupildialogs.h"
#include "school/pupilstore.h"
#include "school/resultsstore.h"
#include "support/schoolfile.h"
#include "support/throwawayserver.h"
#include "teacherwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
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
        run(u"Bílá"_s, u"2.A"_s, 5, 1, 1);
        run(u"Bílá"_s, u"2.A"_s, 4, 0, 4);
        for (int i = 0; i < 10; ++i) {
            run(u"Cígler"_s, u"2.A"_s, 3, 7, 2);
        }
        run(u"Dvořák"_s, u"2.B"_s, 5, 5, 3);
    }

    void run(const QString& surname, const QString& pupilClass, int right, int wrong, int day)
    {
        const double when = toOleDate(QDateTime({2026, 12, day}, {9, 0}));
        EXPECT_TRUE(ResultsStore(m_school.path())
                        .appendRun({surname, pupilClass, right, wrong, oleTimePart(when),
                                    oleTimePart(when), oleDatePart(when), u"zak"_s, 2})
                        .stored());
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

// "Novotný;Petr;2b" has no header, and its columns cannot be told apart: nothing is shown or added
// until the teacher names them; then Novotný is added, Bílá is listed already, line 3 lacks a
// class. Nothing is written before "Přidat".
TEST_P(TeacherWindowTest, AddsAListWithoutAHeaderOnlyOnceItsColumnsAreNamed)
{
    teacher::TeacherWindow window(m_school.path());
    teacher::ClassListDialog dialog(window, u"seznam.csv"_s,
                                    "Novotný;Petr;2b\nBílá;Eva;2.A\nKos;Jan;\n");
    const auto listed = [&] {
        std::vector<Profile> pupils;
        EXPECT_TRUE(readProfiles(m_school.database(), pupils).isEmpty());
        return pupils.size();
    };
    EXPECT_FALSE(dialog.addButton()->isEnabled());
    EXPECT_EQ(dialog.pupilsView()->rowCount(), 0);
    dialog.surnameColumn()->setCurrentIndex(1); // "1. sloupec (Novotný)"
    EXPECT_FALSE(dialog.addButton()->isEnabled()) << "the class's column not named yet";
    dialog.classColumn()->setCurrentIndex(3);
    ASSERT_TRUE(dialog.addButton()->isEnabled());

    QStringList shown;
    for (int row = 0; row < dialog.pupilsView()->rowCount(); ++row) {
        for (int column = 0; column < 4; ++column) {
            shown << dialog.pupilsView()->item(row, column)->text();
        }
    }
    EXPECT_EQ(shown.join(u'|'), u"1|Novotný|2.B|přibude|2|Bílá|2.A|už v seznamu"_s);
    const QListWidget* notes = dialog.findChild<QListWidget*>();
    ASSERT_EQ(notes->count(), 2);
    EXPECT_EQ(notes->item(0)->text(), u"Řádek 3 vynechán: chybí třída."_s);
    EXPECT_EQ(notes->item(1)->text(), u"Třída „2b“ (poprvé na řádku 1) je zapsána jako „2.B“."_s);
    EXPECT_EQ(listed(), 4U) << "the preview writes nothing";

    dialog.addButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(listed(), 5U);
    EXPECT_EQ(window.statusBar()->currentMessage(), u"Přidáno žáků: 1, už v seznamu: 1."_s);
}

// A mailed name merged through the window into the listed pupil it names: the runs go with it
// and the name leaves the table; a pupil removed with his runs kept. A change the school database
// refuses is shown, and nothing changes.
TEST_P(TeacherWindowTest, MergesAMailedNameIntoTheListedPupilAndShowsARefusal)
{
    const double when = toOleDate(QDateTime({2026, 12, 5}, {9, 0}));
    ASSERT_TRUE(ResultsStore(m_school.path())
                    .appendRun({u"Eva Bílá"_s, u"2a"_s, 1, 1, oleTimePart(when), oleTimePart(when),
                                oleDatePart(when), u"zak"_s, 2})
                    .stored());
    teacher::TeacherWindow window(m_school.path());
    window.classChoice()->setCurrentIndex(0);
    const auto choose = [&](const QString& surname) {
        const QAbstractItemModel* model = window.pupilView()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, PupilTable::Surname).data() == surname) {
                window.pupilView()->setCurrentIndex(model->index(row, 0));
            }
        }
        return *window.currentPupil();
    };
    using Edit = teacher::PupilEditDialog::Edit;
    teacher::PupilEditDialog rename(window, Edit::Rename, choose(u"Bílá"_s));
    rename.surnameEdit()->setText(u"Cígler"_s);
    rename.doButton()->click();
    EXPECT_EQ(rename.result(), QDialog::Rejected);
    EXPECT_EQ(rename.problem()->text(), u"Nic se nezměnilo: žák Cígler (2.A) už v seznamu je; jeho "
                                        "a tyto běhy spojí „Sloučit do…“ v nabídce Žák."_s);

    teacher::PupilEditDialog merge(window, Edit::Merge, choose(u"Eva Bílá"_s));
    EXPECT_EQ(merge.otherPupil()->currentText(), u"Bílá (2.A)"_s);
    EXPECT_EQ(merge.outcome()->text(), u"Žák Eva Bílá (2a) se sloučí do žáka Bílá (2.A): jeho běhy "
                                       "(1) přejdou k němu a Eva Bílá (2a) ze seznamu zmizí."_s);
    merge.doButton()->click();
    EXPECT_EQ(merge.result(), QDialog::Accepted);
    teacher::PupilEditDialog remove(window, Edit::Remove, choose(u"Adámek"_s));
    remove.doButton()->click();
    EXPECT_EQ(window.statusBar()->currentMessage(), u"Žák Adámek (2.A) je vyřazen ze seznamu; jeho "
                                                    "běhy (0) zůstávají v databázi."_s);
    EXPECT_EQ(rows(window),
              (QStringList{u"Cígler|10|30,0 %|2. 12. 2026"_s, u"Dvořák|1|50,0 %|3. 12. 2026"_s,
                           u"Bílá|3|83,3 %|5. 12. 2026"_s}));
}

// The period re-reads the class: on Monday 7 December this week has no run yet, this month all;
// dates set by hand count their runs, both days included, and "Do" never goes before "Od".
TEST_P(TeacherWindowTest, ThePeriodReReadsTheClass)
{
    teacher::TeacherWindow window(m_school.path());
    teacher::PeriodBar* bar = window.periodBar();
    bar->setClock([] { return QDate(2026, 12, 7); });
    const QString adamek = u"Adámek|necvičil(a)||"_s, bila = u"Bílá|necvičil(a)||"_s,
                  cigler = u"Cígler|necvičil(a)||"_s;
    const auto edit = [&](const QString& name) {
        const QList<QDateEdit*> edits = bar->findChildren<QDateEdit*>();
        return *std::ranges::find(edits, name, &QDateEdit::accessibleName);
    };
    QTest::keyClick(bar->periodChoice(), Qt::Key_Down);
    EXPECT_EQ(bar->periodChoice()->currentText(), u"Tento týden"_s);
    EXPECT_EQ(rows(window), (QStringList{adamek, bila, cigler}));
    QTest::keyClick(bar->periodChoice(), Qt::Key_Down);
    const QString cigler30 = u"Cígler|10|30,0 %|2. 12. 2026"_s;
    EXPECT_EQ(rows(window), (QStringList{adamek, cigler30, u"Bílá|2|90,0 %|4. 12. 2026"_s}));

    edit(u"Od"_s)->setDate({2026, 12, 2});
    edit(u"Do"_s)->setDate({2026, 12, 3});
    EXPECT_EQ(bar->periodChoice()->currentText(), u"Vlastní"_s);
    EXPECT_EQ(rows(window), (QStringList{adamek, bila, cigler30}));
    edit(u"Od"_s)->setDate({2026, 12, 4});
    EXPECT_EQ(edit(u"Do"_s)->date(), QDate(2026, 12, 4));
    EXPECT_EQ(rows(window), (QStringList{adamek, cigler, u"Bílá|1|100,0 %|4. 12. 2026"_s}));
    for (QCheckBox* box : bar->findChildren<QCheckBox*>()) {
        if (box->text() == u"&Od:"_s) {
            box->click(); // from the first run on
        }
    }
    EXPECT_EQ(rows(window), (QStringList{adamek, cigler30, u"Bílá|2|90,0 %|4. 12. 2026"_s}));
}

// What a PDF reader reads from pages first to last of the file, one line of text each.
QStringList pdfText(const QString& path, int first, int last, const char* option = "-layout")
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {QString::fromLatin1(option), u"-f"_s, QString::number(first),
                                     u"-l"_s, QString::number(last), path, u"-"_s});
    EXPECT_TRUE(pdftotext.waitForFinished()) << "pdftotext (poppler-utils) is missing";
    QStringList lines;
    for (const QString& line : QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n')) {
        if (!line.simplified().isEmpty()) {
            lines << line.simplified();
        }
    }
    return lines;
}

// The shown class out of the window. Its PDF: A4 upright, no word beyond the 12 mm margin, the
// rows as the window shows them; the 70 pupils of 2.C run onto a second page, which begins with
// the header row again, and their chart is two of 40 and 30 pupils. Its page, and its CSV: the runs
// of 2.A alone, 2 + 10 + 1, a name that a spreadsheet would run as a formula defused.
TEST_P(TeacherWindowTest, TakesTheShownClassOutAsPdfPageAndCsv)
{
    run(u"=1+1"_s, u"2.A"_s, 1, 0, 5);
    std::vector<Profile> many;
    for (int i = 0; i < 70; ++i) {
        many.push_back({u"Žák %1"_s.arg(i, 2, 10, QChar(u'0')), u"2.C"_s});
    }
    ASSERT_TRUE(addMissingPupils(m_school.database(), many).ok());
    teacher::TeacherWindow window(m_school.path());
    const QString pdf = m_school.folder() + u"/prehled.pdf"_s;
    ASSERT_EQ(teacher::saveShownOverview(window, teacher::OverviewFile::Pdf, pdf), QString());
    QStringList words = pdfText(pdf, 1, 1, "-bbox");
    static const QRegularExpression rightEdge(uR"re(xMax="([\d.]+)")re"_s);
    for (const QString& word : words.filter(u"<word "_s)) {
        EXPECT_LE(rightEdge.match(word).captured(1).toDouble(), 595 - 34) << word.toStdString();
    }
    EXPECT_TRUE(words.contains(u"<page width=\"595.000000\" height=\"842.000000\">"_s))
        << "A4 upright, in whole points";
    const QStringList page = pdfText(pdf, 1, 1);
    for (const QString& row :
         {u"Adámek 2.A necvičil(a)"_s, u"Cígler 2.A 10 0 30,0 % 0 – 0 0 0 0 0 0"_s,
          u"=1+1 2.A 1 0 100,0 % 0 – 0 0 0 0 0 0"_s, u"Bílá 2.A 2 0 90,0 % 0 – 0 0 0 0 0 0"_s}) {
        EXPECT_TRUE(page.contains(row)) << row.toStdString();
    }

    const auto saved = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QString html = m_school.folder() + u"/prehled.html"_s;
    window.classChoice()->setCurrentText(u"2.C"_s);
    ASSERT_EQ(teacher::saveShownOverview(window, teacher::OverviewFile::Pdf, pdf), QString());
    EXPECT_TRUE(pdfText(pdf, 2, 2).value(0).startsWith(u"Příjmení Třída"_s));
    ASSERT_EQ(teacher::saveShownOverview(window, teacher::OverviewFile::Html, html), QString());
    EXPECT_TRUE(saved(html).contains(u"<title>Úspěšnost žáků 41–70 z 70</title>"_s))
        << "a page of paper each";

    window.classChoice()->setCurrentText(u"2.A"_s);
    ASSERT_EQ(teacher::saveShownOverview(window, teacher::OverviewFile::Html, html), QString());
    EXPECT_TRUE(saved(html).contains(u"<title>Přehled třídy 2.A</title>"_s));
    const QString csv = m_school.folder() + u"/vysledky.csv"_s;
    ASSERT_EQ(teacher::saveShownResults(window, csv), QString());
    const QStringList rows = saved(csv).split(u"\r\n"_s, Qt::SkipEmptyParts);
    EXPECT_EQ(rows.size(), 1 + 13);
    for (const QString& row : rows.sliced(1)) {
        EXPECT_EQ(row.section(u';', 1, 1), u"2.A"_s) << row.toStdString();
    }
    EXPECT_TRUE(rows.last().startsWith(u"'=1+1;2.A;1;0;"_s)) << rows.last().toStdString();

    // The dialogs suggest the class whole, and a suffix is added only where it is missing.
    window.classChoice()->setCurrentText(u"2.B"_s);
    EXPECT_EQ(QFileInfo(teacher::suggestedFile(window, u"prehled"_s, u"pdf"_s)).fileName(),
              u"prehled-2.B.pdf"_s);
    const std::pair<QString, QString> suffixed[] = {{u"prehled-2.B"_s, u"prehled-2.B.pdf"_s},
                                                    {u"prehled-2.B.PDF"_s, u"prehled-2.B.PDF"_s},
                                                    {u"2.B.csv"_s, u"2.B.csv.pdf"_s}};
    for (const auto& [chosen, written] : suffixed) {
        EXPECT_EQ(teacher::withSuffix(chosen, u"pdf"_s), written);
    }

    // The whole school's PDF and print, five pages, show their progress page by page, and
    // "Zrušit" on it leaves no file, also of a printer's PDF.
    window.classChoice()->setCurrentIndex(0);
    const QString stopped = m_school.folder() + u"/zruseno.pdf"_s;
    QStringList progress;
    const auto stopAtOnce = [&] {
        QTimer::singleShot(0, &window, [&] {
            auto* dialog = window.findChild<QProgressDialog*>();
            progress << dialog->labelText() << dialog->findChild<QPushButton*>()->text();
            dialog->cancel();
        });
    };
    stopAtOnce();
    EXPECT_EQ(teacher::saveShownOverview(window, teacher::OverviewFile::Pdf, stopped),
              teacher::printStoppedText(stopped));
    QPrinter printer;
    teacher::setOverviewPage(printer);
    printer.setOutputFileName(stopped);
    stopAtOnce();
    EXPECT_EQ(teacher::printShownOverview(window, printer), teacher::printStoppedText(stopped));
    EXPECT_FALSE(QFile::exists(stopped));
    EXPECT_EQ(progress, (QStringList{u"Ukládám přehled do PDF… Strana 2 z 5."_s, u"Zrušit"_s,
                                     u"Tisknu přehled… Strana 2 z 5."_s, u"Zrušit"_s}));
    window.classChoice()->setCurrentText(u"2.B"_s);
    printer.setOutputFileName(m_school.folder() + u"/tisk.pdf"_s);
    ASSERT_EQ(teacher::printShownOverview(window, printer), QString());
    EXPECT_EQ(pdfText(printer.outputFileName(), 1, 1).filter(u"Dvořák 2.B 1 0 50,0 %"_s).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, TeacherWindowTest, ::testing::Bool(),
                         [](const auto& server) { return server.param ? "Server" : "File"; });

} // namespace
} // namespace voltmetr
