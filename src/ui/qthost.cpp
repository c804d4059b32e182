#include "ui/qthost.h"

#include "app/oledate.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QSqlDatabase>
#include <QUrl>
#include <cstdlib>
#ifdef Q_OS_WIN
#include <windows.h>
// windows.h before lmcons.h, which needs its types
#include <lmcons.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace voltmetr {

QtHost::QtHost()
{
    reseedRandom();
}

MessageAnswer QtHost::messageBox(const QString& prompt, const QString& title, MessageStyle style)
{
    if (m_ended) {
        return style == MessageStyle::YesNoQuestion ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (style) {
    case MessageStyle::OkCritical:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageStyle::OkInformation:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageStyle::YesNoQuestion:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        // A question closed from the title bar counts as No.
        return style == MessageStyle::YesNoQuestion ? MessageAnswer::No : MessageAnswer::Ok;
    }
}

void QtHost::beep()
{
    QApplication::beep();
}

double QtHost::now()
{
    return toOleDate(QDateTime::currentDateTime());
}

void QtHost::reseedRandom()
{
    m_random.seed(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));
}

float QtHost::random()
{
    return m_random.next();
}

void QtHost::setClipboardText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

std::optional<QString> QtHost::askSaveFileName(const SaveDialogRequest& request)
{
    if (m_ended) {
        return std::nullopt;
    }
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

void QtHost::openLink(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

QString QtHost::loginName()
{
    QString name;
#ifdef Q_OS_WIN
    // The name Windows signed the user in with, in UTF-16 whatever the code page: a name that
    // does not fit the longest Windows allows, or any other failure, leaves it empty.
    wchar_t buffer[UNLEN + 1];
    DWORD size = UNLEN + 1;
    if (GetUserNameW(buffer, &size) && size > 0) {
        name = QString::fromWCharArray(buffer, static_cast<qsizetype>(size - 1));
    }
#else
    if (const passwd* entry = getpwuid(geteuid())) {
        name = QString::fromLocal8Bit(entry->pw_name);
    } else {
        name = qEnvironmentVariable("USER");
    }
#endif
    while (name.endsWith(u' ')) {
        name.chop(1);
    }
    return name;
}

bool QtHost::hasDatabaseDriver(const QString& driver)
{
    return QSqlDatabase::isDriverAvailable(driver);
}

void QtHost::endProgram()
{
    // The program ends by leaving the event loop rather than the process, so that main()
    // destroys the application and Qt hands the clipboard to the desktop's clipboard manager:
    // a report copied just before "Konec" can still be pasted. Every window goes at once and
    // every event loop, the modal windows' nested ones too, is left; the windows' code then
    // unwinds with no further event handled and no timer ticking.
    m_ended = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(EXIT_SUCCESS);
}

void QtHost::showModal(QDialog& dialog)
{
    // While the windows unwind after the end, none opens again.
    if (!m_ended) {
        dialog.exec();
    }
}

} // namespace voltmetr
