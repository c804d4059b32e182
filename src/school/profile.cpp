#include "school/profile.h"

namespace voltmetr {

QString profileEntry(const Profile& profile)
{
    return profile.surname + QStringLiteral("; ") + profile.className;
}

Profile parseProfileEntry(const QString& entry)
{
    Profile profile;
    profile.surname = entry.section(u';', 0, 0);
    QString className = entry.section(u';', -1, -1);
    qsizetype blanks = 0;
    while (blanks < className.size() && className.at(blanks) == u' ') {
        ++blanks;
    }
    profile.className = className.mid(blanks);
    return profile;
}

} // namespace voltmetr
