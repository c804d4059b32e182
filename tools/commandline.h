#pragma once

#include <QString>
#include <QStringList>

namespace voltmetr::teacher {

enum class Command
{
    Create,
    Import,
    Decode,
    Export,
    Totals
};

// What the teacher asked for on the command line.
struct Request
{
    Command command = Command::Create;
    QString databasePath; // --db; empty: where the pupils' program looks
    bool overwrite = false;
    QString csvPath;    // dekoduj --csv
    bool store = false; // dekoduj --ulozit
    QString outputPath; // export --vystup
    QString pupilClass; // souhrn --trida
    QStringList files;
    bool help = false;
    bool version = false;
    QString error; // Czech; the request cannot be carried out
};

Request parseRequest(const QStringList& arguments);
QString helpText();

} // namespace voltmetr::teacher
