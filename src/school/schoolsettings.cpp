#include "school/schoolsettings.h"

#include "app/filewrite.h"
#include "app/windows1250.h"
#include "school/schooldatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStringDecoder>
#include <QStringList>
#include <QStringTokenizer>
#include <QTemporaryFile>
#include <cerrno>

namespace voltmetr {

namespace {

QVariantMap allValues(const QSettings& settings)
{
    QVariantMap values;
    for (const QString& key : settings.allKeys()) {
        values.insert(key, settings.value(key));
    }
    return values;
}

// The system configuration folders in the order they are searched; a desktop session that
// names none has /etc/xdg alone. Windows keeps every user's program data in one folder.
QStringList systemConfigFolders()
{
#ifdef Q_OS_WIN
    const QString programData = qEnvironmentVariable("ProgramData");
    return {programData.isEmpty() ? QStringLiteral("C:/ProgramData")
                                  : QDir::fromNativeSeparators(programData)};
#else
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
#endif
}

#ifdef Q_OS_WIN
class RegistryPolicy final : public SettingsPolicy
{
public:
    QString place() const override
    {
        return QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Policies\\Voltmetr");
    }
    QVariantMap values() const override
    {
        return allValues(QSettings(place(), QSettings::NativeFormat));
    }
};
#else
class NoPolicy final : public SettingsPolicy
{
public:
    QString place() const override { return {}; }
    QVariantMap values() const override { return {}; }
};
#endif

// What the policy or the settings file holds, or why it cannot be used.
struct SettingsRead
{
    SettingOrigin origin = SettingOrigin::SettingsFile;
    QString file;
    QString database;
    QString contact;
    QString problem;
};

// The reason settings are none of ours; empty when they are.
QString unknownKey(const QVariantMap& values)
{
    // A misspelt key would otherwise leave the built-in default in force without a word.
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (it.key() != QLatin1String(DatabaseKey) && it.key() != QLatin1String(ContactKey)) {
            return QStringLiteral("neznámé nastavení „%1“ (známá jsou %2 a %3)")
                .arg(it.key(), QLatin1String(DatabaseKey), QLatin1String(ContactKey));
        }
    }
    return {};
}

// A value with a comma reads as a list unless the administrator quoted it: it is one text.
QString textValue(const QVariantMap& values, const char* key)
{
    return values.value(QLatin1String(key)).toStringList().join(u',').trimmed();
}

bool isMailAddress(const QString& text)
{
    static const QRegularExpression address(QStringLiteral(R"(^[^@\s<>"?&]+@[^@\s<>"?&]+$)"));
    return address.match(text).hasMatch();
}

// The sentence naming the settings (where: "v souboru …") and why they cannot be used.
QString unusableSettings(const QString& where, const QString& reason)
{
    return QStringLiteral("Nastavení programu %1 nelze použít: %2.").arg(where, reason);
}

// The settings as written: the database, the contact, or the fault that makes them unusable.
void checkValues(SettingsRead& read, const QVariantMap& values, const QString& where)
{
    const auto fail = [&](const QString& reason) {
        read.problem = unusableSettings(where, reason);
    };
    if (const QString reason = unknownKey(values); !reason.isEmpty()) {
        return fail(reason);
    }
    read.database = textValue(values, DatabaseKey);
    if (values.contains(QLatin1String(DatabaseKey)) && read.database.isEmpty()) {
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
    read.contact = textValue(values, ContactKey);
    if (!read.contact.isEmpty() && !isMailAddress(read.contact)) {
        return fail(QStringLiteral("„%1“ není e-mailová adresa").arg(read.contact));
    }
}

SettingsRead readSettings(const SettingsPolicy& policy)
{
    SettingsRead read;
    if (const QVariantMap values = policy.values(); !values.isEmpty()) {
        read.origin = SettingOrigin::Policy;
        checkValues(read, values, QStringLiteral("v zásadách skupiny %1").arg(policy.place()));
        return read;
    }
    read.file = schoolSettingsFile();
    if (read.file.isEmpty()) {
        return read;
    }
    const QString where = QStringLiteral("v souboru %1").arg(QDir::toNativeSeparators(read.file));
    const auto fail = [&](const QString& reason) {
        read.problem = unusableSettings(where, reason);
        return read;
    };
    // QSettings takes a file it cannot open for an empty one: the opening is tried here.
    QFile probe(read.file);
    errno = 0; // Qt refuses a folder without asking the system
    if (!probe.open(QIODevice::ReadOnly)) {
        return fail(fileFailureReason(probe, errno));
    }
    // Notepad used to save in the ANSI code page, Windows-1250 on a Czech Windows: a file that is
    // no UTF-8 is read as that, so that a path with "š" in it is the folder's own path.
    const QByteArray bytes = probe.readAll();
    probe.close();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    const bool inWindows1250 = utf8.hasError();
    if (inWindows1250) {
        text = fromWindows1250(bytes);
    }
    // The file's format reads a backslash as the start of an escape: \\server\share\skola.sqlite
    // would become another path, which is not there, and the pupils would go on by e-mail.
    for (const QStringView untrimmed : QStringTokenizer(text, u'\n')) {
        const QStringView line = untrimmed.trimmed();
        if (line.contains(u'\\') && !line.startsWith(u';') && !line.startsWith(u'#')) {
            return fail(QStringLiteral("zpětné lomítko v řádku „%1“; cestu pište s lomítky /, "
                                       "například databaze=//server/sdilena/skola.sqlite")
                            .arg(line));
        }
    }
    // The file's format is read as UTF-8 only: a copy in UTF-8 is read in place of the other.
    QTemporaryFile inUtf8;
    if (inWindows1250 && !(inUtf8.open() && inUtf8.write(text.toUtf8()) >= 0 && inUtf8.flush())) {
        return fail(fileFailureReason(inUtf8, errno));
    }
    const QSettings settings(inWindows1250 ? inUtf8.fileName() : read.file, QSettings::IniFormat);
    if (settings.status() == QSettings::FormatError) {
        return fail(QStringLiteral("zápis neodpovídá souboru nastavení (řádky klíč=hodnota pod "
                                   "nadpisem [skola])"));
    }
    checkValues(read, allValues(settings), where);
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

const SettingsPolicy& machinePolicy()
{
#ifdef Q_OS_WIN
    static const RegistryPolicy policy;
#else
    static const NoPolicy policy;
#endif
    return policy;
}

SchoolSetting configuredDatabaseLocation(const SettingsPolicy& policy)
{
    const QString fromEnvironment = qEnvironmentVariable("VOLTMETR_DB");
    if (!fromEnvironment.isEmpty()) {
        return {fromEnvironment, QString(), SettingOrigin::Environment};
    }
    const SettingsRead read = readSettings(policy);
    if (!read.problem.isEmpty()) {
        return {QString(), read.problem, read.origin};
    }
    if (read.database.isEmpty()) {
        return {QStringLiteral(VOLTMETR_DEFAULT_DB), {}, SettingOrigin::BuiltIn};
    }
    return {read.database, {}, read.origin};
}

SchoolSetting configuredContactAddress(const SettingsPolicy& policy)
{
    const SettingsRead read = readSettings(policy);
    const bool written = read.problem.isEmpty() && !read.contact.isEmpty();
    return {written ? read.contact : QString::fromLatin1(BuiltInContactAddress), read.problem,
            written ? read.origin : SettingOrigin::BuiltIn};
}

} // namespace voltmetr
