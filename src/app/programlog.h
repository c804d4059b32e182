#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <functional>

namespace voltmetr {

// Where the programs' log lines (Qt's messages: our categories voltmetr.database,
// voltmetr.file, … and Qt's own) go, so that whoever looks after a lab finds them: into the
// systemd journal when the computer runs one (`journalctl -t voltmetr`), otherwise onto
// standard error with the date and time, since a desktop session keeps that only in a file
// such as ~/.xsession-errors, where a line without a time tells nothing.
//
// The journal is spoken to in its native protocol: one datagram a message on its Unix socket,
// each field a "KEY=value" line, or, for a value with a line break, the key, a line break, the
// value's length as a 64-bit little-endian number, the value and a line break. The protocol is
// a few lines, needs no library (libsystemd is no dependency of either package, and a Windows
// build has neither), and lets a test listen on a socket of its own.
class ProgramLog
{
public:
    // The socket journald listens on; VOLTMETR_JOURNAL_SOCKET names another (a journal
    // namespace's, /run/systemd/journal.NAME/socket), or a path where none listens for the
    // console only.
    static constexpr char systemJournalSocket[] = "/run/systemd/journal/socket";

    enum class Sink
    {
        Journal,
        Console
    };
    // Writes one whole line to the console, standard error in the programs.
    using Console = std::function<void(const QByteArray& line)>;

    // identifier names the program in the journal (SYSLOG_IDENTIFIER) and on the console.
    // The journal is used when journalSocket is a socket; echoToConsole writes every line to
    // the console as well, for a program started from a terminal.
    ProgramLog(const QString& identifier, const QString& journalSocket, Console console,
               bool echoToConsole);
    ~ProgramLog();
    ProgramLog(const ProgramLog&) = delete;
    ProgramLog& operator=(const ProgramLog&) = delete;

    Sink sink() const { return m_socket >= 0 ? Sink::Journal : Sink::Console; }

    // Logs one message that Qt gave at the time given. A message the journal does not take
    // (journald stopped or too busy to wait for) goes to the console instead, never lost and
    // never holding the program up.
    void write(QtMsgType type, const QMessageLogContext& context, const QString& message,
               const QDateTime& at) const;

private:
    bool sendToJournal(QtMsgType type, const QMessageLogContext& context,
                       const QString& message) const;
    void writeToConsole(QtMsgType type, const QMessageLogContext& context, const QString& message,
                        const QDateTime& at) const;

    QByteArray m_identifier;
    QByteArray m_journalSocket;
    Console m_console;
    bool m_echoToConsole;
    int m_socket = -1;
};

// Sends the whole program's log, from now on, where ProgramLog says: to the journal of
// VOLTMETR_JOURNAL_SOCKET or the system's, else to standard error; with echoOnTerminal, to a
// terminal on standard error as well. Returns the sink chosen.
ProgramLog::Sink installProgramLog(const QString& identifier, bool echoOnTerminal);

} // namespace voltmetr
