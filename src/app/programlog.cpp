#include "app/programlog.h"

#include <QtEndian>
#include <algorithm>
#include <cstdio>
#include <utility>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace voltmetr {

namespace {

// The journal's priorities are syslog's.
int journalPriority(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return 7;
    case QtInfoMsg:
        return 6;
    case QtWarningMsg:
        return 4;
    case QtCriticalMsg:
        return 3;
    case QtFatalMsg:
        return 2;
    }
    return 4;
}

const char* typeWord(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "warning";
}

void appendField(QByteArray& entry, const char* key, const QByteArray& value)
{
    entry += key;
    if (!value.contains('\n')) {
        entry += '=' + value + '\n';
        return;
    }
    entry += '\n';
    const quint64 length = qToLittleEndian(quint64(value.size()));
    entry += QByteArray::fromRawData(reinterpret_cast<const char*>(&length), sizeof length);
    entry += value + '\n';
}

} // namespace

ProgramLog::ProgramLog(const QString& identifier, const QString& journalSocket, Console console,
                       bool echoToConsole)
    : m_identifier(identifier.toUtf8()), m_journalSocket(journalSocket.toLocal8Bit()),
      m_console(std::move(console)), m_echoToConsole(echoToConsole)
{
#ifdef Q_OS_LINUX
    struct stat status = {};
    if (m_journalSocket.size() < int(sizeof(sockaddr_un::sun_path)) &&
        ::stat(m_journalSocket.constData(), &status) == 0 && S_ISSOCK(status.st_mode)) {
        m_socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    }
#endif
}

ProgramLog::~ProgramLog()
{
#ifdef Q_OS_LINUX
    if (m_socket >= 0) {
        ::close(m_socket);
    }
#endif
}

void ProgramLog::write(QtMsgType type, const QMessageLogContext& context, const QString& message,
                       const QDateTime& at) const
{
    const bool journalled = sink() == Sink::Journal && sendToJournal(type, context, message);
    if (!journalled || m_echoToConsole) {
        writeToConsole(type, context, message, at);
    }
}

bool ProgramLog::sendToJournal(QtMsgType type, const QMessageLogContext& context,
                               const QString& message) const
{
    QByteArray entry;
    appendField(entry, "MESSAGE", message.toUtf8());
    appendField(entry, "PRIORITY", QByteArray::number(journalPriority(type)));
    appendField(entry, "SYSLOG_IDENTIFIER", m_identifier);
    if (context.category != nullptr) {
        appendField(entry, "QT_CATEGORY", context.category);
    }
    // Only a build with QT_MESSAGELOGCONTEXT knows where in the source a message was given.
    if (context.file != nullptr) {
        appendField(entry, "CODE_FILE", context.file);
        appendField(entry, "CODE_LINE", QByteArray::number(context.line));
        appendField(entry, "CODE_FUNC", context.function);
    }
#ifdef Q_OS_LINUX
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::copy(m_journalSocket.cbegin(), m_journalSocket.cend(), address.sun_path);
    // Not waiting: a journal that cannot take the line now gets it on the console instead.
    ssize_t sent = -1;
    do {
        sent =
            ::sendto(m_socket, entry.constData(), size_t(entry.size()), MSG_DONTWAIT | MSG_NOSIGNAL,
                     reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (sent < 0 && errno == EINTR);
    return sent == entry.size();
#else
    return false;
#endif
}

void ProgramLog::writeToConsole(QtMsgType type, const QMessageLogContext& context,
                                const QString& message, const QDateTime& at) const
{
    QByteArray line =
        at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")).toUtf8() + m_identifier + ' ';
    if (context.category != nullptr) {
        line += QByteArray(context.category) + ' ';
    }
    line += QByteArray(typeWord(type)) + ": " + message.toLocal8Bit() + '\n';
    m_console(line);
}

namespace {

// Never destroyed: Qt may still log while the program's static objects are being destroyed.
ProgramLog* s_programLog = nullptr;

void logMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    s_programLog->write(type, context, message, QDateTime::currentDateTime());
}

} // namespace

ProgramLog::Sink installProgramLog(const QString& identifier, bool echoOnTerminal)
{
#ifdef Q_OS_LINUX
    const bool echoToConsole = echoOnTerminal && ::isatty(STDERR_FILENO) == 1;
#else
    const bool echoToConsole = false;
    Q_UNUSED(echoOnTerminal);
#endif
    QString socket = qEnvironmentVariable("VOLTMETR_JOURNAL_SOCKET");
    if (socket.isEmpty()) {
        socket = QString::fromLatin1(ProgramLog::systemJournalSocket);
    }
    qInstallMessageHandler(nullptr);
    // One write a line, so that lines of the save's thread and the windows' never interleave.
    const auto standardError = [](const QByteArray& line) {
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        std::fflush(stderr);
    };
    delete std::exchange(s_programLog,
                         new ProgramLog(identifier, socket, standardError, echoToConsole));
    qInstallMessageHandler(logMessage);
    return s_programLog->sink();
}

} // namespace voltmetr
