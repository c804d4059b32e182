#include "app/programlog.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::literals;

namespace voltmetr {
namespace {

// A journal of the test's own: a datagram socket in the test's folder, as journald listens.
struct FakeJournal
{
    QTemporaryDir folder;
    QString path = folder.filePath(u"socket"_s);
    sockaddr_un address{AF_UNIX, {}};
    int socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    FakeJournal()
    {
        qstrncpy(address.sun_path, qPrintable(path), sizeof address.sun_path);
        EXPECT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    ~FakeJournal() { ::close(socket); }
    QByteArray received() const // the entry that arrived, or nothing
    {
        QByteArray entry(65536, '\0');
        return entry.left(std::max(0L, ::recv(socket, entry.data(), 65536, MSG_DONTWAIT)));
    }
};

const QMessageLogContext inCategory(nullptr, 0, nullptr, "voltmetr.database");
const QDateTime morning(QDate(2026, 12, 7), QTime(8, 5, 9));

TEST(ProgramLog, GoesToTheJournalWhereOneListensElseToTheConsoleWithTheTime)
{
    const QByteArray line =
        "2026-12-07 08:05:09 voltmetr voltmetr.database critical: disk je plný\n";
    // the journal: listening, too busy for a line, stopped (its socket left), none, or a folder
    // in its socket's place; echo to the console; the sink; whether the journal took the line
    for (const auto& [journalState, echoToConsole, sink, journalled] : {
             std::tuple{"listening"sv, false, ProgramLog::Sink::Journal, true},
             std::tuple{"listening"sv, true, ProgramLog::Sink::Journal, true},
             std::tuple{"busy"sv, false, ProgramLog::Sink::Journal, false},
             std::tuple{"stopped"sv, false, ProgramLog::Sink::Journal, false},
             std::tuple{"none"sv, false, ProgramLog::Sink::Console, false},
             std::tuple{"folder"sv, false, ProgramLog::Sink::Console, false},
         }) {
        FakeJournal journal;
        QByteArray written;
        const ProgramLog log(
            u"voltmetr"_s,
            journalState == "none"     ? journal.path + u".none"_s
            : journalState == "folder" ? journal.folder.path()
                                       : journal.path,
            [&](const QByteArray& text) { written += text; }, echoToConsole);
        if (journalState == "stopped") {
            ::close(std::exchange(journal.socket, -1));
        }
        const int other = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (journalState == "busy") { // other programs' lines fill the journal's queue
            ::connect(other, reinterpret_cast<sockaddr*>(&journal.address), sizeof(sockaddr_un));
            while (::send(other, "x", 1, MSG_DONTWAIT) == 1) {
            }
        }
        log.write(QtCriticalMsg, inCategory, u"disk je plný"_s, morning);
        EXPECT_EQ(std::tuple(log.sink(), journal.received().startsWith("MESSAGE="), written),
                  std::tuple(sink, journalled, !journalled || echoToConsole ? line : ""_ba))
            << journalState << echoToConsole;
        ::close(other);
    }
}

TEST(ProgramLog, JournalEntryCarriesMessagePriorityIdentifierCategoryAndPlaceOnceInstalled)
{
    const QMessageLogContext inSource("resultsstore.cpp", 217, "appendRun", "voltmetr.database");
    const QByteArray twoLines = "Výsledek se neuložil.\nDůvod: disk je plný";
    // the message's type, where it was given, the message; how its entry starts
    const std::tuple<QtMsgType, const QMessageLogContext&, QString, QByteArray> cases[] = {
        {QtDebugMsg, inSource, u"error 8: attempt to write a readonly database"_s,
         "MESSAGE=error 8: attempt to write a readonly database\nPRIORITY=7\n"
         "SYSLOG_IDENTIFIER=voltmetr\nQT_CATEGORY=voltmetr.database\n"
         "CODE_FILE=resultsstore.cpp\nCODE_LINE=217\nCODE_FUNC=appendRun\n"},
        {QtInfoMsg, inCategory, u"i"_s, "MESSAGE=i\nPRIORITY=6\n"},
        {QtCriticalMsg, inCategory, u"c"_s, "MESSAGE=c\nPRIORITY=3\n"},
        {QtFatalMsg, inCategory, u"f"_s, "MESSAGE=f\nPRIORITY=2\n"},
        // A value with a line break goes with its length, 45 bytes in UTF-8, little-endian.
        {QtWarningMsg, inCategory, QString::fromUtf8(twoLines),
         "MESSAGE\n" + QByteArray("\x2d\0\0\0\0\0\0\0", 8) + twoLines + "\nPRIORITY=4\n"},
    };
    FakeJournal journal;
    const ProgramLog log(
        u"voltmetr"_s, journal.path, [](const QByteArray&) {}, false);
    for (const auto& [type, context, message, expected] : cases) {
        log.write(type, context, message, morning);
        EXPECT_TRUE(journal.received().startsWith(expected)) << expected.toStdString();
    }
    // Installed, it takes the program's messages, to the journal VOLTMETR_JOURNAL_SOCKET names.
    qputenv("VOLTMETR_JOURNAL_SOCKET", journal.path.toLocal8Bit());
    ASSERT_EQ(installProgramLog(u"voltmetr-ucitel"_s, false), ProgramLog::Sink::Journal);
    qWarning() << "uloženo";
    qInstallMessageHandler(nullptr);
    EXPECT_TRUE(journal.received().startsWith(
        "MESSAGE=uloženo\nPRIORITY=4\nSYSLOG_IDENTIFIER=voltmetr-ucitel\nQT_CATEGORY=default\n"));
}

} // namespace
} // namespace voltmetr
