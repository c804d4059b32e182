#pragma once

#include "school/period.h"

#include <QString>
#include <QStringList>

namespace voltmetr::teacher {

enum class Command
{
    Create,
    Import,
    Decode,
    Export,
    Totals,
    Upgrade,    // adds the tables of newer versions to an older database
    Statistics, // per pupil and per class, with the kinds of mistakes
    Overview,   // the class overview as an HTML page with charts
    Check,      // the lab check, run as a pupil on a lab computer
    Rename,     // a pupil renamed or moved to another class, with the runs
    Merge,      // a mailed name merged into a listed pupil, with the runs
    Remove,     // a wrongly imported pupil taken off the list
    Window      // the teacher's window
};

// What the teacher asked for on the command line.
struct Request
{
    Command command = Command::Create;
    QString databasePath; // --db, else where the pupils' program looks; over: --db or empty
    bool overwrite = false;
    QString csvPath;     // dekoduj --csv
    bool store = false;  // dekoduj --ulozit
    QString outputPath;  // export --vystup, prehled --vystup
    QString pupilClass;  // souhrn, statistika and prehled --trida
    bool byNeed = false; // statistika and prehled --podle-potreby
    Period period;       // statistika, prehled and export --od and --do
    QStringList files;   // the files, or for the pupils' changes surnames and classes
    bool help = false;
    bool commandHelp = false; // --help after a command word: that command's help
    bool version = false;
    QString error; // Czech; the request cannot be carried out
};

Request parseRequest(const QStringList& arguments);
QString helpText();
// One command's usage, its lines of the general help and the options common to all commands.
QString commandHelpText(Command command);

} // namespace voltmetr::teacher
