#include "app/filewrite.h"
#include "app/procedury.h"
#include "classlistimport.h"
#include "school/failurereason.h"
#include "school/pupilstore.h"
#include "school/schooldatabase.h"
#include "school/schoolschema.h"
#include "school/serverrights.h"
#include "schoolconnection.h"
#include "taskstatistics.h"
#include "teachertool.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace voltmetr::teacher {

namespace {

QByteArray localName(const QString& path)
{
    return QFile::encodeName(path);
}

// The engine's journal beside a database file: the half of a write that was not finished.
QString journalOf(const QString& path)
{
    return path + QStringLiteral("-journal");
}

// Gives the new file the old one's permission bits, and its owner when run as root, so that
// the pupils' computers reach the new database exactly as they reached the old one.
QString takeOverAccess(const QString& from, const QString& to)
{
    struct stat old = {};
    if (stat(localName(from).constData(), &old) != 0) {
        return fileFailureReason(QFileDevice::PermissionsError, errno);
    }
    if (chmod(localName(to).constData(), old.st_mode & 07777) != 0 ||
        (geteuid() == 0 && chown(localName(to).constData(), old.st_uid, old.st_gid) != 0)) {
        return fileFailureReason(QFileDevice::PermissionsError, errno);
    }
    return {};
}

// Copies the old database, with the journal a killed writer may have left beside it, so that
// the backup opens as the old database stood before that write. Each backup gets a name of its
// own, the old name with the time ("skola.sqlite.2026-12-07T10-31-05.zaloha", a second one of
// the same second "…T10-31-05-2.zaloha"), taken only where no file is: an older backup is never
// replaced, not even by a second run at the same moment. Sets backup to the name.
QString backUp(const QString& path, QString& backup)
{
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH-mm-ss"));
    std::error_code error = std::make_error_code(std::errc::file_exists);
    for (int n = 1; error == std::errc::file_exists && n <= 1000; ++n) {
        backup = QStringLiteral("%1.%2%3.zaloha")
                     .arg(path, stamp, n == 1 ? QString() : QStringLiteral("-%1").arg(n));
        error.clear();
        // Without overwrite the copy creates its file exclusively, with the old one's mode.
        std::filesystem::copy_file(localName(path).toStdString(), localName(backup).toStdString(),
                                   std::filesystem::copy_options::none, error);
    }
    if (error) {
        return QStringLiteral("zálohu %1 nelze zapsat: %2")
            .arg(backup, fileFailureReason(QFileDevice::CopyError, error.value()));
    }
    // The name is this run's alone; a journal left under it by anyone would spoil the backup.
    QFile::remove(journalOf(backup));
    QFile journal(journalOf(path));
    errno = 0;
    if (journal.exists() && !journal.copy(journalOf(backup))) {
        return QStringLiteral("zálohu %1 nelze zapsat: %2")
            .arg(journalOf(backup), fileFailureReason(journal, errno));
    }
    return {};
}

std::error_code renamed(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(localName(from).toStdString(), localName(to).toStdString(), error);
    return error;
}

// Builds the schema in a file of its own beside the target, then moves it into place, so that
// a failure (or a refused overwrite) leaves whatever was at the path untouched. An old file is
// first copied to a backup, whose name is set to backup; its journal must not outlive it, or
// the engine would "roll back" the old file's pages into the new one.
QString createSchemaFile(const QString& path, bool replacing, QString& backup)
{
    const QString draft =
        QStringLiteral("%1.novy-%2").arg(path).arg(QCoreApplication::applicationPid());
    QFile draftFile(draft);
    errno = 0;
    if (!draftFile.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return QStringLiteral("Databázi %1 nelze založit: %2")
            .arg(path, fileFailureReason(draftFile, errno));
    }
    draftFile.close();

    QString failure;
    {
        SchoolConnection connection(draft, SchoolConnection::Access::Write);
        failure = connection.openError();
        if (failure.isEmpty()) {
            failure = createSchoolSchema(connection.db());
        }
    }
    if (failure.isEmpty() && replacing) {
        failure = takeOverAccess(path, draft);
    }
    if (failure.isEmpty() && replacing) {
        failure = backUp(path, backup);
    }
    if (failure.isEmpty()) {
        // Before the move, and again after it: a pupil saving into the old file meanwhile may
        // have left a journal of the old file's pages in between.
        QFile::remove(journalOf(path));
        if (const std::error_code error = renamed(draft, path)) {
            // On this system the error's value is the errno of the rename.
            failure = fileFailureReason(QFileDevice::RenameError, error.value());
        }
        QFile::remove(journalOf(path));
    }
    if (!failure.isEmpty()) {
        QFile::remove(draft);
        return QStringLiteral("Databázi %1 nelze založit: %2").arg(path, failure);
    }
    return {};
}

// A server's database is made by its administrator; the tool adds the tables and the roles.
// Tables already there hold results: they are never replaced, not even when asked to.
int createServerSchema(const QString& location, Console& console)
{
    SchoolConnection connection(location, SchoolConnection::Access::Write);
    if (!connection.openError().isEmpty()) {
        return console.fail(
            QStringLiteral("Databázi %1 nelze otevřít: %2").arg(location, connection.openError()));
    }
    if (schoolTablesPresent(connection.db())) {
        return console.fail(
            QStringLiteral("V databázi %1 už tabulky Voltmetru jsou; nástroj je nepřepisuje, "
                           "aby se neztratily výsledky.")
                .arg(location));
    }
    // The causes of wrong answers are worked out by the server from the first task on.
    QStringList causes;
    QString failure = createSchoolSchema(connection.db());
    if (failure.isEmpty()) {
        failure = bringLikeliestCausesUpToDate(connection.db(), causes);
    }
    if (!failure.isEmpty()) {
        return console.fail(QStringLiteral("Databázi %1 nelze založit: %2").arg(location, failure));
    }
    const QString database = connectedDatabase(connection.db());
    const SchoolRoles roles = schoolRolesOf(database);
    console.out << QStringLiteral("Založena prázdná školní databáze %1; žáci se přihlašují jako "
                                  "%2, učitel jako %3.")
                       .arg(location, roles.pupils, roles.teacher)
                << Qt::endl
                << loginAdvice(database) << Qt::endl;
    if (const QString pooling = checkNotPooledByTransaction(connection.db(), location);
        !pooling.isEmpty()) {
        console.err << QStringLiteral("Pozor: %1.").arg(pooling) << Qt::endl;
    }
    return Console::ExitSuccess;
}

} // namespace

int createDatabase(const Request& request, Console& console)
{
    const QString& path = request.databasePath;
    if (isServerLocation(path)) {
        return createServerSchema(path, console);
    }
    if (FileExists(path) && !request.overwrite) {
        return console.fail(
            QStringLiteral("Soubor %1 už existuje; přepsat ho lze volbou --prepsat.").arg(path));
    }
    if (QFileInfo(path).isDir()) {
        return console.fail(QStringLiteral("%1 je složka, ne soubor databáze.").arg(path));
    }
    // Without --db the path is the one the pupils' program looks at, whose folder a fresh
    // computer may not have yet: the teacher is told which one to make.
    if (const QString folder = QFileInfo(path).absolutePath(); !QFileInfo(folder).isDir()) {
        return console.fail(QStringLiteral("Databázi %1 nelze založit: složka %2 neexistuje; "
                                           "založte ji, nebo zadejte jinou cestu volbou --db.")
                                .arg(path, folder));
    }
    QString backup;
    if (const QString failure = createSchemaFile(path, FileExists(path), backup);
        !failure.isEmpty()) {
        return console.fail(failure);
    }
    console.out << QStringLiteral("Založena prázdná školní databáze %1.").arg(path) << Qt::endl;
    if (!backup.isEmpty()) {
        console.out << QStringLiteral("Původní databáze je uschována jako %1.").arg(backup)
                    << Qt::endl;
    }
    return Console::ExitSuccess;
}

int importClassList(const Request& request, Console& console)
{
    const QString& listPath = request.files.first();
    QFile listFile(listPath);
    errno = 0;
    if (!listFile.open(QIODevice::ReadOnly)) {
        return console.fail(QStringLiteral("Seznam %1 nelze otevřít: %2")
                                .arg(listPath, fileFailureReason(listFile, errno)));
    }
    const ClassList list = readClassList(listFile.readAll());
    if (!list.ok()) {
        return console.fail(QStringLiteral("%1: %2").arg(listPath, list.error));
    }

    const PupilsAdded stored = addClassListAt(request.databasePath, list);
    if (!stored.ok()) {
        return console.fail(stored.error);
    }
    for (const UnifiedClass& unified : list.unifiedClasses) {
        console.out << unified.told() << Qt::endl;
    }
    for (const SkippedLine& skipped : list.skipped) {
        console.out << skipped.told() << Qt::endl;
    }
    console.out << QStringLiteral("Přidáno žáků: %1, už v databázi: %2, vynechaných řádků: %3 "
                                  "(seznam v kódování %4).")
                       .arg(stored.added)
                       .arg(stored.present)
                       .arg(list.skipped.size())
                       .arg(list.encoding)
                << Qt::endl;
    return Console::ExitSuccess;
}

} // namespace voltmetr::teacher
