#pragma once

#include <QString>

namespace voltmetr::teacher {

class TeacherWindow;

// The class the window shows, taken out of the window from its "Soubor" menu: the overview saved
// as the page `prehled` writes, printed, or saved as PDF, and the class's runs saved for a
// spreadsheet. Each asks where, then says in the status bar what it wrote, or in a message why it
// wrote nothing.
void addOverviewExport(TeacherWindow& window);

enum class OverviewFile
{
    Html,
    Pdf
};

// What those do once the teacher has chosen the file: an empty text, or the Czech reason why
// nothing was written.
QString saveShownOverview(const TeacherWindow& window, OverviewFile kind, const QString& path);
QString saveShownResults(const TeacherWindow& window, const QString& path);

} // namespace voltmetr::teacher
