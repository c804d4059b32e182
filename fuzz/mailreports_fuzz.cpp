// The teacher's tool given a mail, or any text, on its standard input, as in
// "voltmetr-ucitel dekoduj < zprava.eml": whatever the text, every report in it is either
// decoded or named as unreadable, the closing count says so, and the exit code follows it.

#include "teachertool.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTextStream>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace voltmetr::teacher;

struct ToolRun
{
    int exitCode = 0;
    QString out;
    QString err;
};

// The one call into the tool's decoding, so that a new decoder is one line away.
ToolRun decodeMail(const QByteArray& mail)
{
    QBuffer in;
    in.setData(mail);
    in.open(QIODevice::ReadOnly);
    ToolRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    Console console{in, out, err};
    Request request;
    request.command = Command::Decode;
    run.exitCode = decodeReports(request, console);
    return run;
}

[[noreturn]] void fail(const char* what, const ToolRun& run)
{
    std::fprintf(stderr, "%s\nexit code %d\n--- out\n%s\n--- err\n%s\n", what, run.exitCode,
                 run.out.toUtf8().constData(), run.err.toUtf8().constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ToolRun run =
        decodeMail(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    static const QRegularExpression closing(
        QStringLiteral("Dekódováno zpráv: (\\d+), nepřečteno: (\\d+)\\.\n$"));
    const QRegularExpressionMatch counts = closing.match(run.out);
    if (!counts.hasMatch()) {
        fail("the tool did not close with its counts", run);
    }
    const int decoded = counts.captured(1).toInt();
    const int unreadable = counts.captured(2).toInt();
    static const QRegularExpression heading(QStringLiteral("^== \\(standardní vstup\\).* ==$"),
                                            QRegularExpression::MultilineOption);
    if (run.out.count(heading) != decoded) {
        fail("the count of decoded reports differs from the reports shown", run);
    }
    if (decoded + unreadable == 0) {
        fail("a mail neither decoded nor refused", run);
    }
    // A report that cannot be read is named on the error output; a note there (a report given
    // twice) may come without one.
    if ((unreadable > 0 && run.err.isEmpty()) ||
        run.exitCode != (unreadable == 0 ? Console::ExitSuccess : Console::ExitFailure)) {
        fail("the reasons or the exit code do not follow the counts", run);
    }
    return 0;
}
