#pragma once

#include <QString>

class QPrinter;

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

// What those do once the teacher has chosen the file or the printer: an empty text, or the Czech
// reason why nothing was written. A PDF and a print show their pages' progress over the window,
// where the teacher may stop them; a file is then left as it was (printStoppedText).
QString saveShownOverview(TeacherWindow& window, OverviewFile kind, const QString& path);
QString printShownOverview(TeacherWindow& window, QPrinter& printer);
QString saveShownResults(const TeacherWindow& window, const QString& path);

// Where a save dialog starts: "prehled-2.B.pdf" in the teacher's home folder for the shown class,
// "prehled-vsechny-tridy.pdf" for all classes.
QString suggestedFile(const TeacherWindow& window, const QString& stem, const QString& suffix);
// The file as the teacher chose it, with the suffix added unless it ends with it already: the
// dot of a class ("prehled-2.B") is no suffix.
QString withSuffix(const QString& path, const QString& suffix);

} // namespace voltmetr::teacher
