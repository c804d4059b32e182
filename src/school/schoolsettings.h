#pragma once

#include <QString>
#include <QVariantMap>

namespace voltmetr {

// The school's own settings, written once by its administrator for every computer of the lab
// in voltmetr/voltmetr.conf of the desktop's system configuration folder (/etc/xdg, or the
// folders XDG_CONFIG_DIRS lists, the first one that holds the file winning), on Windows in
// %ProgramData%\Voltmetr\voltmetr.conf:
//
//   [skola]
//   databaze=/mnt/skola/voltmetr/skola.sqlite
//   kontakt=ucitel@skola.cz
//
// A file that is present but cannot be used is never passed over in silence: the pupil at
// sign-in and the teacher on the console are told why, rather than working against a database
// the school did not choose.
#ifdef Q_OS_WIN
inline constexpr char SettingsFolder[] = "Voltmetr";
#else
inline constexpr char SettingsFolder[] = "voltmetr";
#endif
inline constexpr char SettingsFileName[] = "voltmetr.conf";
inline constexpr char DatabaseKey[] = "skola/databaze";
inline constexpr char ContactKey[] = "skola/kontakt";

// The address in the about box when the school has set none.
inline constexpr char BuiltInContactAddress[] = "voltmetr@example.cz";

// Where a setting in force came from.
enum class SettingOrigin
{
    Environment,  // VOLTMETR_DB
    Policy,       // SettingsPolicy
    SettingsFile, // schoolSettingsFile()
    BuiltIn       // fixed when the program was built
};

// One setting as the program is to use it.
struct SchoolSetting
{
    QString value;
    QString problem; // empty, or the Czech sentence naming the settings file and its fault
    SettingOrigin origin = SettingOrigin::BuiltIn;
};

// The same settings as a Windows domain's group policy writes them for every computer of the
// lab, under HKEY_LOCAL_MACHINE\Software\Policies\Voltmetr, each section a subkey: skola/databaze
// is the value databaze of the subkey skola. A policy that holds any value stands before the
// settings file and alone, as the first folder's file does before the next: the two are never
// merged. Elsewhere than on Windows no policy holds any.
class SettingsPolicy
{
public:
    virtual ~SettingsPolicy() = default;
    // Where the policy is kept, as an administrator looks for it.
    virtual QString place() const = 0;
    // Each value the policy holds, by its key; empty when it holds none.
    virtual QVariantMap values() const = 0;
};

// This computer's policy: the registry's on Windows.
const SettingsPolicy& machinePolicy();

// The settings file in force, or an empty text when no folder holds one.
QString schoolSettingsFile();

// The school database: VOLTMETR_DB when it is set and not empty, else databaze from the policy
// or the settings file, else the location fixed when the program was built. No location when
// the settings cannot be used: the school may have moved its database. A databaze that is
// written but empty, or a file's path that is not absolute (which each pupil's working folder
// would complete differently), makes the settings unusable, as a misspelt key does.
SchoolSetting configuredDatabaseLocation(const SettingsPolicy& policy = machinePolicy());

// The address pupils write to: kontakt from the policy or the settings file, else
// BuiltInContactAddress, which also stands when they cannot be used (the sign-in has said why).
SchoolSetting configuredContactAddress(const SettingsPolicy& policy = machinePolicy());

} // namespace voltmetr
