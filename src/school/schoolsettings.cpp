#include "school/schoolsettings.h"

#include "app/filewrite.h"
#include "school/schooldatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <cerrno>

namespace voltmetr {

namespace {

// The system configuration folders in the order they are searched; a desktop session that
// names none has /etc/xdg alone.
QStringList systemConfigFolders()
{
    QStringList folders;
    const QStringList listed =
        qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts);
    for (const QString& folder : listed) {
        if (QDir::isAbsolutePath(folder)) {
            folders << folder;
        }
    }
    if (folders.isEmpty()) {
        folders << QStringLiteral("/etc/xdg");
    }
    return folders;
}

// What the settings file holds, or why it cannot be used.
struct SettingsRead
{
    QString file;
    QString database;
    QString contact;
    QString problem;
};

// The reason a file that opens is still no settings file; empty when it is one.
QString unusableContents(const QSettings& settings)
{
    if (settings.status() == QSettings::FormatError) {
        return QStringLiteral("zápis neodpovídá souboru nastavení (řádky klíč=hodnota pod "
                              "nadpisem [skola])");
    }
    // A misspelt key would otherwise leave the built-in default in force without a word.
    for (const QString& key : settings.allKeys()) {
        if (key != QLatin1String(DatabaseKey) && key != QLatin1String(ContactKey)) {
            return QStringLiteral("neznámé nastavení „%1“ (známá jsou %2 a %3)")
                .arg(key, QLatin1String(DatabaseKey), QLatin1String(ContactKey));
        }
    }
    return {};
}

// A value with a comma reads as a list unless the administrator quoted it: it is one text.
QString textValue(const QSettings& settings, const char* key)
{
    return settings.value(QLatin1String(key)).toStringList().join(u',').trimmed();
}

bool isMailAddress(const QString& text)
{
    static const QRegularExpression address(QStringLiteral(R"(^[^@\s<>"?&]+@[^@\s<>"?&]+$)"));
    return address.match(text).hasMatch();
}

SettingsRead readSettings()
{
    SettingsRead read{schoolSettingsFile(), {}, {}, {}};
    if (read.file.isEmpty()) {
        return read;
    }
    const auto fail = [&](const QString& reason) {
        read.problem = QStringLiteral("Nastavení programu v souboru %1 nelze použít: %2.")
                           .arg(read.file, reason);
        return read;
    };
    // QSettings takes a file it cannot open for an empty one: the opening is tried here.
    QFile probe(read.file);
    errno = 0; // Qt refuses a folder without asking the system
    if (!probe.open(QIODevice::ReadOnly)) {
        return fail(fileFailureReason(probe, errno));
    }
    probe.close();
    const QSettings settings(read.file, QSettings::IniFormat);
    if (const QString reason = unusableContents(settings); !reason.isEmpty()) {
        return fail(reason);
    }
    read.database = textValue(settings, DatabaseKey);
    if (settings.contains(QLatin1String(DatabaseKey)) && read.database.isEmpty()) {
        return fail(QStringLiteral("%1 je prázdné (zapište úplnou cestu k databázi, nebo řádek "
                                   "smažte)")
                        .arg(QLatin1String(DatabaseKey)));
    }
    if (!read.database.isEmpty() && !isServerLocation(read.database) &&
        !QDir::isAbsolutePath(read.database)) {
        return fail(QStringLiteral("%1=%2 není úplná cesta; každý žák by ji hledal ve své "
                                   "pracovní složce")
                        .arg(QLatin1String(DatabaseKey), read.database));
    }
    read.contact = textValue(settings, ContactKey);
    if (!read.contact.isEmpty() && !isMailAddress(read.contact)) {
        return fail(QStringLiteral("„%1“ není e-mailová adresa").arg(read.contact));
    }
    return read;
}

} // namespace

QString schoolSettingsFile()
{
    for (const QString& folder : systemConfigFolders()) {
        const QString file = QDir(folder).filePath(QLatin1String(SettingsFolder) + u'/' +
                                                   QLatin1String(SettingsFileName));
        // A folder standing where the file should be is reported, not skipped.
        if (QFileInfo::exists(file)) {
            return file;
        }
    }
    return {};
}

SchoolSetting configuredDatabaseLocation()
{
    const QString fromEnvironment = qEnvironmentVariable("VOLTMETR_DB");
    if (!fromEnvironment.isEmpty()) {
        return {fromEnvironment, QString(), SettingOrigin::Environment};
    }
    const SettingsRead read = readSettings();
    if (!read.problem.isEmpty()) {
        return {QString(), read.problem, SettingOrigin::SettingsFile};
    }
    if (read.database.isEmpty()) {
        return {QStringLiteral(VOLTMETR_DEFAULT_DB), {}, SettingOrigin::BuiltIn};
    }
    return {read.database, {}, SettingOrigin::SettingsFile};
}

SchoolSetting configuredContactAddress()
{
    const SettingsRead read = readSettings();
    const bool fromFile = read.problem.isEmpty() && !read.contact.isEmpty();
    return {fromFile ? read.contact : QString::fromLatin1(BuiltInContactAddress), read.problem,
            fromFile ? SettingOrigin::SettingsFile : SettingOrigin::BuiltIn};
}

} // namespace voltmetr
