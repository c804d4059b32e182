// The answer box: a typed text, commas made points, read by the forgiving number reader and
// refused unless it comes to a positive voltage. Each input is typed into a running exercise
// and checked against a second reader of the same grammar written here from its description.

#include "app/runstate.h"
#include "exercise/exercise.h"
#include "fuzzhost.h"

#include <QString>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace voltmetr;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The grammar: blanks, tabs and line feeds count nowhere; then an optional sign, digits with at
// most one point (a comma is a point), and an optional exponent of E or D, an optional sign and
// digits. Whatever follows is ignored; no digit before the exponent means 0; an exponent
// without digits is no exponent; a value beyond a double's range is 0.
double referenceReading(const QString& typed)
{
    QString text;
    for (const QChar c : typed) {
        if (c != u' ' && c != u'\t' && c != u'\n') {
            text += c == u',' ? QChar(u'.') : c;
        }
    }
    qsizetype at = 0;
    const auto next = [&] { return at < text.size() ? text[at] : QChar(); };
    const auto sign = [&] {
        const bool negative = next() == u'-';
        if (next() == u'-' || next() == u'+') {
            ++at;
        }
        return negative;
    };
    const auto digits = [&] {
        std::string run;
        for (; isAsciiDigit(next()); ++at) {
            run += static_cast<char>(next().unicode());
        }
        return run;
    };

    const bool negative = sign();
    const std::string whole = digits();
    std::string fraction;
    if (next() == u'.') {
        ++at;
        fraction = digits();
    }
    if (whole.empty() && fraction.empty()) {
        return 0;
    }
    long long exponent = 0;
    if (const QChar marker = next().toUpper(); marker == u'E' || marker == u'D') {
        ++at;
        const bool negativeExponent = sign();
        const std::string exponentDigits = digits();
        for (const char d : exponentDigits) {
            exponent = std::min(exponent * 10 + (d - '0'), 1'000'000'000LL); // far past any double
        }
        exponent = negativeExponent ? -exponent : exponent;
    }

    // The value is 0.<significant> times ten to pointShift.
    const std::string all = whole + fraction;
    const std::size_t firstSignificant = all.find_first_not_of('0');
    if (firstSignificant == std::string::npos) {
        return negative ? -0.0 : 0.0;
    }
    std::string significant = all.substr(firstSignificant);
    const long long pointShift =
        static_cast<long long>(whole.size()) - static_cast<long long>(firstSignificant) + exponent;
    if (pointShift > 400) {
        return 0; // overflow
    }
    if (pointShift < -400) {
        return 0; // no double comes near it
    }
    // 800 digits decide the rounding of any double; a dropped non-zero digit is kept as a 1.
    if (significant.size() > 800) {
        const bool droppedAny = significant.find_first_not_of('0', 800) != std::string::npos;
        significant.resize(800);
        if (droppedAny) {
            significant += '1';
        }
    }
    const std::string scientific =
        (negative ? "-0." : "0.") + significant + 'e' + std::to_string(pointShift);
    errno = 0;
    const double value = std::strtod(scientific.c_str(), nullptr);
    if (std::isinf(value)) {
        return 0;
    }
    return value;
}

struct Answering
{
    fuzzing::FuzzHost host;
    Data_a_promene state;
    Exercise exercise{host, state};

    Answering()
    {
        exercise.Form_Load();
        host.messages.clear();
    }
};

void fail(const char* what, const QString& typed, double expected, double read)
{
    std::fprintf(stderr, "%s\ntyped: \"%s\"\nexpected %.17g, read %.17g\n", what,
                 typed.toUtf8().constData(), expected, read);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Answering answering;
    const QString typed =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QString shown = typed;
    shown.replace(u',', u'.');
    const double expected = referenceReading(typed);
    const double read = readNumber(CommaToPoint(typed));
    if (!(read == expected)) {
        fail("the answer box reads the text differently from its grammar", typed, expected, read);
    }

    fuzzing::FuzzHost& host = answering.host;
    host.messages.clear();
    const AnswerOutcome outcome = answering.exercise.Contin_Click(typed, {});
    const bool accepted = expected > 0;
    const bool asked =
        host.messages.size() == 1 && host.messages[0].style == MessageStyle::YesNoQuestion &&
        host.messages[0].prompt.contains(QStringLiteral(" je ") + shown + QStringLiteral(" V.")) &&
        host.messages[0].prompt.startsWith(QStringLiteral("Uvedl jsi"));
    const bool refused = host.messages.size() == 1 &&
                         host.messages[0].style == MessageStyle::OkCritical &&
                         host.messages[0].prompt == QStringLiteral("Napětí bylo zadáno špatně!");
    if (accepted ? !asked : !refused) {
        fail(accepted ? "a positive voltage was not put to the pupil"
                      : "a text that is no positive voltage was not refused",
             typed, expected, read);
    }
    if (outcome.shownText != shown || outcome.judgement || answering.state.RightCount != 0 ||
        answering.state.WrongCount != 0) {
        fail("an answer the pupil did not confirm changed the box or the counts", typed, expected,
             read);
    }
    return 0;
}
