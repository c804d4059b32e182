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
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTemporaryFile>
#include <cerrno>
#include <functional>

namespace voltmetr::teacher {

namespace {

// The class chosen in the window; empty for all classes.
QString shownClass(const TeacherWindow& window)
{
    return window.classChoice()->currentData().toString();
}

// The busy cursor while the results are read, which for a school takes a while.
struct WaitCursor
{
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString notWritten(const QString& path, const QString& reason)
{
    return QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, reason);
}

// The overview of the shown class and period as the window orders it when it opens: by need.
std::optional<ClassOverview> shownOverview(const TeacherWindow& window, QString& failure)
{
    const QString pupilClass = shownClass(window);
    const Period period = window.periodBar()->period();
    const WaitCursor busy;
    const std::optional<ClassStatistics> statistics =
        readStatisticsAt(window.location(), {pupilClass, period, true, true}, failure);
    if (!statistics) {
        return std::nullopt;
    }
    return classOverview(*statistics, classOverviewTitle(pupilClass, period), QDate::currentDate(),
                         QLocale(QLocale::Czech));
}

// Asks where, with the file suggested for the shown class, and saves there. A suffix the dialog
// did not add is added, with the question the dialog asks when that file is there already.
void chooseFileAndSave(TeacherWindow& window, const QString& caption, const QString& stem,
                       const QString& suffix, const QString& filter,
                       const std::function<QString(const QString&)>& save)
{
    const QString chosen =
        QFileDialog::getSaveFileName(&window, caption, suggestedFile(window, stem, suffix), filter);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = withSuffix(chosen, suffix);
    if (path != chosen && QFileInfo::exists(path) &&
        QMessageBox::question(&window, caption,
                              QStringLiteral("Soubor %1 už existuje. Chcete jej nahradit?")
                                  .arg(QDir::toNativeSeparators(path))) != QMessageBox::Yes) {
        return;
    }
    const QString failure = save(path);
    if (failure == printStoppedText(path)) {
        window.statusBar()->showMessage(failure);
    } else if (!failure.isEmpty()) {
        QMessageBox::warning(&window, caption, failure);
    } else {
        window.statusBar()->showMessage(
            QStringLiteral("Zapsáno do %1.").arg(QDir::toNativeSeparators(path)));
    }
}

// A window over the teacher's, page by page while the overview is drawn, that stops it with
// "Zrušit". The whole school, which takes seconds, shows it at once; a class only when it is slow.
class PageProgress
{
public:
    PageProgress(TeacherWindow& window, const QString& doing)
        : m_doing(doing), m_dialog(doing, QStringLiteral("Zrušit"), 0, 0, &window)
    {
        m_dialog.setWindowTitle(window.windowTitle());
        m_dialog.setWindowModality(Qt::WindowModal); // the window answers, but waits
        m_dialog.setMinimumDuration(shownClass(window).isEmpty() ? 0 : 800);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }

    PrintProgress callback()
    {
        return [this](int done, int pages) {
            m_dialog.setLabelText(
                QStringLiteral("%1 Strana %2 z %3.").arg(m_doing).arg(done).arg(pages));
            m_dialog.setMaximum(pages);
            m_dialog.setValue(done);
            return !m_dialog.wasCanceled();
        };
    }

private:
    QString m_doing;
    QProgressDialog m_dialog;
};

// Prints on a printer or into the PDF file the printer's dialog named. The file is drawn in a
// temporary one and put in its place whole, so that a print stopped leaves no half of it behind.
QString printOverview(const ClassOverview& overview, QPrinter& printer,
                      const PrintProgress& progress)
{
    if (printer.outputFormat() != QPrinter::PdfFormat) {
        const bool whole = printClassOverview(overview, printer, [&](int done, int pages) {
            return progress(done, pages) || !printer.abort();
        });
        return whole ? QString() : printStoppedText({});
    }
    const QString path = printer.outputFileName();
    QTemporaryFile drawn;
    errno = 0;
    if (!drawn.open()) {
        return notWritten(path, fileFailureReason(drawn, errno));
    }
    printer.setOutputFileName(drawn.fileName());
    const bool whole = printClassOverview(overview, printer, progress);
    printer.setOutputFileName(path);
    if (!whole) {
        return printStoppedText(path);
    }
    if (const QString reason = writeWholeFile(path, drawn.readAll()); !reason.isEmpty()) {
        return notWritten(path, reason);
    }
    return {};
}

void printWithDialog(TeacherWindow& window)
{
    const QString caption = QStringLiteral("Tisk přehledu");
    QPrinter printer(QPrinter::HighResolution);
    setOverviewPage(printer);
    printer.setDocName(classOverviewTitle(shownClass(window), window.periodBar()->period()));
    QPrintDialog dialog(&printer, &window);
    dialog.setWindowTitle(caption);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QString failure = printShownOverview(window, printer);
    if (failure.isEmpty()) {
        window.statusBar()->showMessage(
            QStringLiteral("%1 je poslán na tiskárnu.").arg(printer.docName()));
    } else if (failure == printStoppedText(printer.outputFileName())) {
        window.statusBar()->showMessage(failure);
    } else {
        QMessageBox::warning(&window, caption, failure);
    }
}

} // namespace

QString saveShownOverview(TeacherWindow& window, OverviewFile kind, const QString& path)
{
    QString failure;
    const std::optional<ClassOverview> overview = shownOverview(window, failure);
    if (!overview) {
        return failure;
    }
    if (kind == OverviewFile::Pdf) {
        PageProgress progress(window, QStringLiteral("Ukládám přehled do PDF…"));
        return writeClassOverviewPdf(*overview, path, progress.callback());
    }
    if (const QString reason = writeWholeFile(path, classOverviewHtml(*overview).toUtf8());
        !reason.isEmpty()) {
        return notWritten(path, reason);
    }
    return {};
}

QString printShownOverview(TeacherWindow& window, QPrinter& printer)
{
    QString failure;
    const std::optional<ClassOverview> overview = shownOverview(window, failure);
    if (!overview) {
        return failure;
    }
    PageProgress progress(window, QStringLiteral("Tisknu přehled…"));
    return printOverview(*overview, printer, progress.callback());
}

QString saveShownResults(const TeacherWindow& window, const QString& path)
{
    QString failure;
    const WaitCursor busy;
    const std::optional<CsvTable> table = readResultsTableAt(window.location(), shownClass(window),
                                                             window.periodBar()->period(), failure);
    return table ? writeTableFile(path, *table) : failure;
}

QString suggestedFile(const TeacherWindow& window, const QString& stem, const QString& suffix)
{
    const QString pupilClass = shownClass(window);
    return QDir::home().filePath(
        QStringLiteral("%1-%2.%3")
            .arg(stem, pupilClass.isEmpty() ? QStringLiteral("vsechny-tridy") : pupilClass,
                 suffix));
}

QString withSuffix(const QString& path, const QString& suffix)
{
    const QString ending = u'.' + suffix;
    return path.endsWith(ending, Qt::CaseInsensitive) ? path : path + ending;
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
            QStringLiteral("prehled"), pdf ? QStringLiteral("pdf") : QStringLiteral("html"),
            pdf ? QStringLiteral("Dokument PDF (*.pdf)") : QStringLiteral("Stránka HTML (*.html)"),
            [&window, kind](const QString& path) { return saveShownOverview(window, kind, path); });
    };
    menu->addAction(QStringLiteral("Uložit přehled jako &HTML…"), &window,
                    [saveOverview] { saveOverview(OverviewFile::Html); });
    menu->addAction(QStringLiteral("Uložit přehled jako &PDF…"), &window,
                    [saveOverview] { saveOverview(OverviewFile::Pdf); });
    menu->addAction(QStringLiteral("&Tisk přehledu…"), QKeySequence::Print, &window,
                    [&window] { printWithDialog(window); });
    menu->addAction(QStringLiteral("&Exportovat CSV…"), &window, [&window] {
        chooseFileAndSave(
            window, QStringLiteral("Exportovat výsledky třídy do CSV"), QStringLiteral("vysledky"),
            QStringLiteral("csv"), QStringLiteral("Tabulka CSV (*.csv)"),
            [&window](const QString& path) { return saveShownResults(window, path); });
    });
}

} // namespace voltmetr::teacher
