#include "app/programlog.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <tuple>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::literals;

namespace voltmetr {
namespace {

Q_LOGGING_CATEGORY(lcTest, "voltmetr.test")

// A journal of the test's own: a datagram socket in the test's folder, as journald listens.
struct FakeJournal
{
    QTemporaryDir folder;
    QString path = folder.filePath(u"socket"_s);
    int socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un unixAddress{AF_UNIX, {}};
    FakeJournal()
    {
        std::ranges::copy(path.toLocal8Bit(), unixAddress.sun_path);
        EXPECT_EQ(::bind(socket, address(), sizeof unixAddress), 0);
    }
    const sockaddr* address() const { return reinterpret_cast<const sockaddr*>(&unixAddress); }
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
    using enum ProgramLog::Sink;
    // the journal's socket: listening, too busy for a line, stopped (its file left), missing or
    // a folder in its place; echo to the console; the sink; whether the journal took the line
    for (const auto& [socket, echoToConsole, sink, journalled] : {
             std::tuple{"listening"sv, false, Journal, true},
             std::tuple{"listening"sv, true, Journal, true},
             std::tuple{"busy"sv, false, Journal, false},
             std::tuple{"stopped"sv, false, Journal, false},
             std::tuple{"missing"sv, false, Console, false},
             std::tuple{"folder"sv, false, Console, false},
         }) {
        FakeJournal journal;
        char* written = nullptr;
        size_t size = 0;
        std::FILE* const console = open_memstream(&written, &size);
        const ProgramLog log(u"voltmetr"_s,
                             socket == "missing"  ? journal.folder.filePath(u"missing"_s)
                             : socket == "folder" ? journal.folder.path()
                                                  : journal.path,
                             console, echoToConsole);
        if (socket == "stopped") {
            ::close(std::exchange(journal.socket, -1));
        }
        const int other = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (socket == "busy") { // other programs' lines fill the journal's queue
            EXPECT_EQ(::connect(other, journal.address(), sizeof(sockaddr_un)), 0);
            while (::send(other, "x", 1, MSG_DONTWAIT) == 1) {
            }
        }
        log.write(QtCriticalMsg, inCategory, u"disk je plný"_s, morning);
        std::fclose(console);
        EXPECT_EQ(log.sink(), sink) << socket;
        EXPECT_EQ(journal.received().startsWith("MESSAGE="), journalled) << socket;
        EXPECT_EQ(QByteArray(written, qsizetype(size)),
                  !journalled || echoToConsole
                      ? "2026-12-07 08:05:09 voltmetr voltmetr.database critical: disk je plný\n"
                      : QByteArray())
            << socket << echoToConsole;
        std::free(written);
        ::close(other);
    }
}

TEST(ProgramLog, JournalEntryCarriesMessagePriorityIdentifierCategoryAndPlace)
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
    const ProgramLog log(u"voltmetr"_s, journal.path, stderr, false);
    for (const auto& [type, context, message, expected] : cases) {
        log.write(type, context, message, morning);
        EXPECT_TRUE(journal.received().startsWith(expected)) << expected.toStdString();
    }
}

TEST(ProgramLog, InstalledItTakesTheProgramsMessages)
{
    // The sandbox keeps every test, and every program a test starts, off the machine's journal.
    EXPECT_EQ(installProgramLog(u"voltmetr"_s, false), ProgramLog::Sink::Console);
    FakeJournal journal;
    qputenv("VOLTMETR_JOURNAL_SOCKET", journal.path.toLocal8Bit());
    ASSERT_EQ(installProgramLog(u"voltmetr-ucitel"_s, false), ProgramLog::Sink::Journal);
    qCWarning(lcTest) << "uloženo";
    qInstallMessageHandler(nullptr);
    EXPECT_TRUE(journal.received().startsWith("MESSAGE=uloženo\nPRIORITY=4\nSYSLOG_IDENTIFIER="
                                              "voltmetr-ucitel\nQT_CATEGORY=voltmetr.test\n"));
}

} // namespace
} // namespace voltmetr
