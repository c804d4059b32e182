#include "overviewexport.h"

#include "app/filewrite.h"
#include "classoverview.h"
#include "overviewprint.h"
#include "periodbar.h"
#include "resultstable.h"
#include "teacherwindow.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <functional>

namespace voltmetr::teacher {

namespace {

// The class chosen in the window; empty for all classes.
QString shownClass(const TeacherWindow& window)
{
    return window.classChoice()->currentData().toString();
}

// The overview of the shown class and period as the window orders it when it opens: by need.
std::optional<ClassOverview> shownOverview(const TeacherWindow& window, QString& failure)
{
    const QString pupilClass = shownClass(window);
    const Period period = window.periodBar()->period();
    const std::optional<ClassStatistics> statistics =
        readStatisticsAt(window.location(), {pupilClass, period, true, true}, failure);
    if (!statistics) {
        return std::nullopt;
    }
    return classOverview(*statistics, classOverviewTitle(pupilClass, period), QDate::currentDate(),
                         QLocale(QLocale::Czech));
}

// "prehled-2.A.pdf" in the teacher's home folder, "prehled-vsechny-tridy.pdf" for all classes.
QString suggestedFile(const TeacherWindow& window, const QString& stem, const QString& suffix)
{
    const QString pupilClass = shownClass(window);
    return QDir::home().filePath(
        QStringLiteral("%1-%2.%3")
            .arg(stem, pupilClass.isEmpty() ? QStringLiteral("vsechny-tridy") : pupilClass,
                 suffix));
}

void chooseFileAndSave(TeacherWindow& window, const QString& caption, const QString& suggested,
                       const QString& filter, const std::function<QString(const QString&)>& save)
{
    const QString path = QFileDialog::getSaveFileName(&window, caption, suggested, filter);
    if (path.isEmpty()) {
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor); // a school's overview takes a while
    const QString failure = save(path);
    QGuiApplication::restoreOverrideCursor();
    if (!failure.isEmpty()) {
        QMessageBox::warning(&window, caption, failure);
        return;
    }
    window.statusBar()->showMessage(
        QStringLiteral("Zapsáno do %1.").arg(QDir::toNativeSeparators(path)));
}

void printShownOverview(TeacherWindow& window)
{
    const QString caption = QStringLiteral("Tisk přehledu");
    QString failure;
    const std::optional<ClassOverview> overview = shownOverview(window, failure);
    if (!overview) {
        QMessageBox::warning(&window, caption, failure);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    setOverviewPage(printer);
    printer.setDocName(overview->title);
    QPrintDialog dialog(&printer, &window);
    dialog.setWindowTitle(caption);
    if (dialog.exec() == QDialog::Accepted) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        printClassOverview(*overview, printer);
        QGuiApplication::restoreOverrideCursor();
        window.statusBar()->showMessage(
            QStringLiteral("%1 je poslán na tiskárnu.").arg(overview->title));
    }
}

} // namespace

QString saveShownOverview(const TeacherWindow& window, OverviewFile kind, const QString& path)
{
    QString failure;
    const std::optional<ClassOverview> overview = shownOverview(window, failure);
    if (!overview) {
        return failure;
    }
    if (kind == OverviewFile::Pdf) {
        return writeClassOverviewPdf(*overview, path);
    }
    if (const QString reason = writeWholeFile(path, classOverviewHtml(*overview).toUtf8());
        !reason.isEmpty()) {
        return QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, reason);
    }
    return {};
}

QString saveShownResults(const TeacherWindow& window, const QString& path)
{
    QString failure;
    const std::optional<CsvTable> table = readResultsTableAt(window.location(), shownClass(window),
                                                             window.periodBar()->period(), failure);
    return table ? writeTableFile(path, *table) : failure;
}

void addOverviewExport(TeacherWindow& window)
{
    QMenu* menu = window.fileMenu();
    const auto saveOverview = [&window](OverviewFile kind) {
        const bool pdf = kind == OverviewFile::Pdf;
        chooseFileAndSave(
            window,
            pdf ? QStringLiteral("Uložit přehled jako PDF")
                : QStringLiteral("Uložit přehled jako HTML"),
            suggestedFile(window, QStringLiteral("prehled"),
                          pdf ? QStringLiteral("pdf") : QStringLiteral("html")),
            pdf ? QStringLiteral("Dokument PDF (*.pdf)") : QStringLiteral("Stránka HTML (*.html)"),
            [&window, kind](const QString& path) { return saveShownOverview(window, kind, path); });
    };
    menu->addAction(QStringLiteral("Uložit přehled jako &HTML…"), &window,
                    [saveOverview] { saveOverview(OverviewFile::Html); });
    menu->addAction(QStringLiteral("Uložit přehled jako &PDF…"), &window,
                    [saveOverview] { saveOverview(OverviewFile::Pdf); });
    menu->addAction(QStringLiteral("&Tisk přehledu…"), QKeySequence::Print, &window,
                    [&window] { printShownOverview(window); });
    menu->addAction(QStringLiteral("&Exportovat CSV…"), &window, [&window] {
        chooseFileAndSave(window, QStringLiteral("Exportovat výsledky třídy do CSV"),
                          suggestedFile(window, QStringLiteral("vysledky"), QStringLiteral("csv")),
                          QStringLiteral("Tabulka CSV (*.csv)"), [&window](const QString& path) {
                              return saveShownResults(window, path);
                          });
    });
}

} // namespace voltmetr::teacher
