#pragma once

#include <QString>

namespace voltmetr {

// A pupil profile of the school database as the sign-in list shows it: "Prijmeni; Trida".
struct Profile
{
    QString surname;
    QString className;

    friend bool operator==(const Profile&, const Profile&) = default;
};

QString profileEntry(const Profile& profile);

// Reads a chosen entry back. The surname ends at the first ";" (trailing blanks kept); the
// class is what follows the last ";" without its leading blanks, so a surname that itself
// holds a semicolon loses its tail rather than spilling into the class.
Profile parseProfileEntry(const QString& entry);

} // namespace voltmetr
