#pragma once

#include <QString>

namespace voltmetr {

// The version of both programs and of their package, set once where the build names the
// project.
inline QString programVersion()
{
    return QStringLiteral(VOLTMETR_VERSION);
}

// The name of the pupils' program's desktop entry without ".desktop", which is also its
// AppStream id: the desktop matches the program's windows to its menu entry and icon by it.
inline QString desktopEntryName()
{
    return QStringLiteral(VOLTMETR_APP_ID);
}

// What --version prints: the program's name and its version.
inline QString versionLine(const QString& program)
{
    return program + u' ' + programVersion();
}

} // namespace voltmetr
