#include "app/programlog.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace voltmetr {
namespace {

Q_LOGGING_CATEGORY(lcTest, "voltmetr.test")

// A journal of the test's own: a datagram socket in the test's folder, as journald listens.
class FakeJournal
{
public:
    FakeJournal() : m_socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const QByteArray name = path().toLocal8Bit();
        std::copy(name.cbegin(), name.cend(), address.sun_path);
        EXPECT_EQ(::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    ~FakeJournal() { stop(); }
    QString path() const { return m_folder.filePath(u"socket"_s); }
    // Leaves the socket file behind, as a journald that stopped does.
    void stop()
    {
        if (m_socket >= 0) {
            ::close(m_socket);
        }
        m_socket = -1;
    }
    // The entry that arrived, or nothing.
    QByteArray received() const
    {
        QByteArray entry(65536, '\0');
        const ssize_t size = ::recv(m_socket, entry.data(), size_t(entry.size()), MSG_DONTWAIT);
        return entry.left(size < 0 ? 0 : size);
    }

private:
    QTemporaryDir m_folder;
    int m_socket;
};

// A console in memory: what the log wrote to standard error.
class Console
{
    char* m_text = nullptr;
    size_t m_size = 0;

public:
    std::FILE* const file = open_memstream(&m_text, &m_size);
    ~Console()
    {
        std::fclose(file);
        std::free(m_text);
    }
    QByteArray text() const
    {
        std::fflush(file);
        return QByteArray(m_text, qsizetype(m_size));
    }
};

const QMessageLogContext inCategory(nullptr, 0, nullptr, "voltmetr.database");
const QDateTime morning(QDate(2026, 12, 7), QTime(8, 5, 9));

TEST(ProgramLog, GoesToTheJournalOnlyWhereOneListens)
{
    FakeJournal journal;
    QTemporaryDir folder;
    const QString plainFile = folder.filePath(u"socket"_s);
    ASSERT_TRUE(QFile(plainFile).open(QIODevice::WriteOnly));
    const struct
    {
        const char* name;
        QString socket;
        ProgramLog::Sink expected;
    } cases[] = {
        {"a journal listening", journal.path(), ProgramLog::Sink::Journal},
        {"no journal", folder.filePath(u"missing"_s), ProgramLog::Sink::Console},
        {"a plain file where the socket would be", plainFile, ProgramLog::Sink::Console},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgramLog(u"voltmetr"_s, c.socket, stderr, false).sink(), c.expected) << c.name;
    }
}

TEST(ProgramLog, JournalEntryCarriesMessagePriorityIdentifierCategoryAndPlace)
{
    const QMessageLogContext inSource("resultsstore.cpp", 217, "appendRun", "voltmetr.database");
    const QByteArray where = "CODE_FILE=resultsstore.cpp\nCODE_LINE=217\nCODE_FUNC=appendRun\n";
    const QByteArray twoLines = "Výsledek se neuložil.\nDůvod: disk je plný";
    const struct
    {
        QtMsgType type;
        const QMessageLogContext& context;
        QString message;
        QByteArray expected;
    } cases[] = {
        {QtWarningMsg, inCategory, u"error 8: attempt to write a readonly database"_s,
         "MESSAGE=error 8: attempt to write a readonly database\nPRIORITY=4\n"
         "SYSLOG_IDENTIFIER=voltmetr\nQT_CATEGORY=voltmetr.database\n"},
        {QtDebugMsg, inSource, u"d"_s,
         "MESSAGE=d\nPRIORITY=7\nSYSLOG_IDENTIFIER=voltmetr\nQT_CATEGORY=voltmetr.database\n" +
             where},
        {QtInfoMsg, inCategory, u"i"_s, "MESSAGE=i\nPRIORITY=6\n"},
        {QtCriticalMsg, inCategory, u"c"_s, "MESSAGE=c\nPRIORITY=3\n"},
        {QtFatalMsg, inCategory, u"f"_s, "MESSAGE=f\nPRIORITY=2\n"},
        // A value with a line break goes with its length, 45 bytes in UTF-8, little-endian.
        {QtWarningMsg, inCategory, QString::fromUtf8(twoLines),
         "MESSAGE\n" + QByteArray("\x2d\0\0\0\0\0\0\0", 8) + twoLines + "\nPRIORITY=4\n"},
    };
    FakeJournal journal;
    Console console;
    const ProgramLog log(u"voltmetr"_s, journal.path(), console.file, false);
    for (const auto& c : cases) {
        log.write(c.type, c.context, c.message, morning);
        EXPECT_TRUE(journal.received().startsWith(c.expected)) << c.expected.toStdString();
    }
    EXPECT_EQ(console.text(), QByteArray());
}

TEST(ProgramLog, ConsoleLineTellsDateTimeProgramCategoryAndType)
{
    Console console;
    ProgramLog(u"voltmetr-ucitel"_s, u"/nonexistent/socket"_s, console.file, false)
        .write(QtCriticalMsg, inCategory, u"disk je plný"_s, morning);
    EXPECT_EQ(console.text(),
              "2026-12-07 08:05:09 voltmetr-ucitel voltmetr.database critical: disk je plný\n");
}

TEST(ProgramLog, LineTheJournalDoesNotTakeGoesToTheConsole)
{
    const QByteArray line = "2026-12-07 08:05:09 voltmetr voltmetr.database warning: w\n";
    const struct
    {
        const char* name;
        bool journalStopped;
        bool echoToConsole;
        bool journalled;
    } cases[] = {
        {"journald stopped, its socket left", true, false, false},
        {"started from a terminal", false, true, true},
    };
    for (const auto& c : cases) {
        FakeJournal journal;
        Console console;
        const ProgramLog log(u"voltmetr"_s, journal.path(), console.file, c.echoToConsole);
        if (c.journalStopped) {
            journal.stop();
        }
        log.write(QtWarningMsg, inCategory, u"w"_s, morning);
        EXPECT_EQ(console.text(), line) << c.name;
        EXPECT_EQ(!journal.received().isEmpty(), c.journalled) << c.name;
    }
}

TEST(ProgramLog, InstalledItTakesTheProgramsMessages)
{
    // The tests' sandbox points the log at a journal that is not there: no test writes to the
    // machine's journal, nor do the programs the tests start.
    EXPECT_EQ(installProgramLog(u"voltmetr"_s, false), ProgramLog::Sink::Console);
    FakeJournal journal;
    qputenv("VOLTMETR_JOURNAL_SOCKET", journal.path().toLocal8Bit());
    ASSERT_EQ(installProgramLog(u"voltmetr-ucitel"_s, false), ProgramLog::Sink::Journal);
    qCWarning(lcTest) << "uloženo";
    qInstallMessageHandler(nullptr);
    const QByteArray entry = journal.received();
    EXPECT_TRUE(entry.startsWith("MESSAGE=uloženo\nPRIORITY=4\nSYSLOG_IDENTIFIER=voltmetr-ucitel\n"
                                 "QT_CATEGORY=voltmetr.test\n"))
        << entry.toStdString();
}

} // namespace
} // namespace voltmetr
