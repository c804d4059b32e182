#pragma once

#include <QString>

namespace voltmetr {

// The school's own settings, written once by its administrator for every computer of the lab
// in voltmetr/voltmetr.conf of the desktop's system configuration folder (/etc/xdg, or the
// folders XDG_CONFIG_DIRS lists, the first one that holds the file winning):
//
//   [skola]
//   databaze=/mnt/skola/voltmetr/skola.sqlite
//   kontakt=ucitel@skola.cz
//
// A file that is present but cannot be used is never passed over in silence: the pupil at
// sign-in and the teacher on the console are told why, rather than working against a database
// the school did not choose.
inline constexpr char SettingsFolder[] = "voltmetr";
inline constexpr char SettingsFileName[] = "voltmetr.conf";
inline constexpr char DatabaseKey[] = "skola/databaze";
inline constexpr char ContactKey[] = "skola/kontakt";

// The address in the about box when the school has set none.
inline constexpr char BuiltInContactAddress[] = "voltmetr@example.cz";

// Where a setting in force came from.
enum class SettingOrigin
{
    Environment,  // VOLTMETR_DB
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

// The settings file in force, or an empty text when no folder holds one.
QString schoolSettingsFile();

// The school database: VOLTMETR_DB when it is set and not empty, else databaze from the
// settings file, else the location fixed when the program was built. No location when the
// settings file cannot be used: the school may have moved its database. A databaze that is
// written but empty, or a file's path that is not absolute (which each pupil's working folder
// would complete differently), makes the file unusable, as a misspelt key does.
SchoolSetting configuredDatabaseLocation();

// The address pupils write to: kontakt from the settings file, else BuiltInContactAddress, which
// also stands when the file cannot be used (the sign-in has said why).
SchoolSetting configuredContactAddress();

} // namespace voltmetr
