// A pupil's report survives its journey: the name and class as the sign-in keeps them, the
// counts and the dates of a run, written as the report text, encoded with a random byte, then
// decoded and read back by the teacher's tool, give the same values. Letters the report's code
// page lacks arrive as "?", and the percentages are those of the counts, halves rounded up.

#include "app/oledate.h"
#include "fuzzhost.h"
#include "report/info2.h"
#include "report/reportdecoder.h"
#include "report/reportfields.h"
#include "report/reporttext.h"
#include "signin/typedtext.h"

#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

using namespace voltmetr;

struct Letter
{
    const char16_t* typed;
    const char16_t* arrives; // in the decoded report
};

// What pupils type or paste: ASCII, Czech and Slovak letters, neighbours' letters the code page
// holds, letters it lacks, a letter beyond 16 bits, and the control characters a pasted cell
// brings along (which the sign-in turns into a blank).
constexpr Letter Letters[] = {
    {u"a", u"a"},         {u"Z", u"Z"},     {u"7", u"7"},           {u" ", u" "},
    {u"-", u"-"},         {u".", u"."},     {u"?", u"?"},           {u":", u":"},
    {u"%", u"%"},         {u"\"", u"\""},   {u"á", u"á"},           {u"č", u"č"},
    {u"ď", u"ď"},         {u"ě", u"ě"},     {u"ň", u"ň"},           {u"ř", u"ř"},
    {u"š", u"š"},         {u"ť", u"ť"},     {u"ů", u"ů"},           {u"ž", u"ž"},
    {u"Č", u"Č"},         {u"Ř", u"Ř"},     {u"Š", u"Š"},           {u"Ž", u"Ž"},
    {u"Ů", u"Ů"},         {u"ľ", u"ľ"},     {u"ô", u"ô"},           {u"ä", u"ä"},
    {u"ł", u"ł"},         {u"ő", u"ő"},     {u"ß", u"ß"},           {u"€", u"€"},
    {u"„", u"„"},         {u"“", u"“"},     {u"\u00a0", u"\u00a0"}, {u"ñ", u"?"},
    {u"ø", u"?"},         {u"ж", u"?"},     {u"漢", u"?"},          {u"😀", u"?"},
    {u"\r\n", nullptr},   {u"\t", nullptr}, {u"\u0001", nullptr},   {u"\u2028", nullptr},
    {u"\u0085", nullptr},
};

// What the sign-in keeps of a typed text, and what of it arrives: a control character is the
// same on both sides, so the code page's "?" is put in before the sign-in tidies the text.
struct Typed
{
    QString kept;
    QString arrives;
};

Typed typeText(FuzzedDataProvider& input, qsizetype maxLength)
{
    QString typed;
    QString arriving;
    const std::size_t letters = input.ConsumeIntegralInRange<std::size_t>(0, 60);
    for (std::size_t i = 0; i < letters; ++i) {
        const Letter& letter = input.PickValueInArray(Letters);
        const QString typedLetter = QString::fromUtf16(letter.typed);
        // The box holds maxLength UTF-16 units.
        if (typed.size() + typedLetter.size() > maxLength) {
            break;
        }
        typed += typedLetter;
        arriving += letter.arrives ? QString::fromUtf16(letter.arrives) : typedLetter;
    }
    return {signInText(typed), signInText(arriving)};
}

struct Moment
{
    int year, month, day, hour, minute, second, millisecond;

    QDateTime dateTime() const
    {
        return {QDate(year, month, day), QTime(hour, minute, second, millisecond)};
    }
};

Moment drawMoment(FuzzedDataProvider& input)
{
    Moment m{};
    m.year = input.ConsumeIntegralInRange(1900, 9999);
    m.month = input.ConsumeIntegralInRange(1, 12);
    m.day = input.ConsumeIntegralInRange(1, QDate(m.year, m.month, 1).daysInMonth());
    m.hour = input.ConsumeIntegralInRange(0, 23);
    m.minute = input.ConsumeIntegralInRange(0, 59);
    m.second = input.ConsumeIntegralInRange(0, 59);
    m.millisecond = input.ConsumeIntegralInRange(0, 999);
    return m;
}

struct Regional
{
    QLocale::Language language;
    QLocale::Territory territory;
    const char16_t* timeSeparator;
    char16_t decimalPoint;
};

constexpr Regional Regions[] = {
    {QLocale::Czech, QLocale::CzechRepublic, u":", u','},
    {QLocale::C, QLocale::AnyTerritory, u":", u'.'},
    {QLocale::English, QLocale::UnitedStates, u":", u'.'},
    {QLocale::Finnish, QLocale::Finland, u".", u','},
    {QLocale::French, QLocale::Canada, u" h ", u','},
};

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
}

// "dd.mm.yyyy hh:mm", seconds cut off.
QString reportDate(const Moment& m, const Regional& region)
{
    return twoDigits(m.day) + u'.' + twoDigits(m.month) + u'.' + QString::number(m.year) + u' ' +
           twoDigits(m.hour) + QString::fromUtf16(region.timeSeparator) + twoDigits(m.minute);
}

// part of total in percent, to hundredths, a half rounded up: worked in whole numbers.
QString percentText(qint64 part, qint64 total, const Regional& region)
{
    const qint64 hundredths = (2 * part * 10000 + total) / (2 * total);
    return QString::number(hundredths / 100) + QChar(region.decimalPoint) +
           twoDigits(static_cast<int>(hundredths % 100));
}

[[noreturn]] void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzzing::FuzzHost host;
    static Info2 coder(host);
    FuzzedDataProvider input(data, size);

    const Typed name = typeText(input, 50);
    const Typed pupilClass = typeText(input, 10);
    const Moment start = drawMoment(input);
    const Moment end = drawMoment(input);
    // A run's answers, each confirmed by the pupil, stay far below what the counts hold; their
    // sum is what the report's total line holds.
    const auto right = input.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX);
    const auto wrong = input.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX - right);
    const Regional& region = input.PickValueInArray(Regions);
    const auto randomByte = input.ConsumeIntegral<std::uint8_t>();

    const ReportInputs inputs{
        name.kept, pupilClass.kept, toOleDate(start.dateTime()), toOleDate(end.dateTime()), right,
        wrong};
    const QString text = composeReportText(inputs, QLocale(region.language, region.territory));
    host.setNextRandom(static_cast<float>(randomByte) / 256.0f);
    coder.InitReportCoder();
    coder.AppendEncoded(text);
    const QString encoded = coder.GetReportText();
    if (coder.nonceByte() != randomByte) {
        fail("the report did not get the random byte drawn for it", encoded);
    }

    const DecodedReport decoded = decodeReport(encoded);
    if (!decoded.ok()) {
        fail("an encoded report does not decode", decoded.error + u'\n' + encoded);
    }
    const ParsedReport parsed = parseReportText(decoded.text);
    if (!parsed.ok()) {
        fail("a decoded report is not read", parsed.error + u'\n' + decoded.text);
    }
    const qint64 total = qint64{right} + wrong;
    const ReportFields expected{name.arrives,
                                pupilClass.arrives,
                                reportDate(start, region),
                                reportDate(end, region),
                                static_cast<int>(total),
                                right,
                                wrong};
    const ReportFields& got = parsed.fields;
    if (got.pupilName != expected.pupilName || got.pupilClass != expected.pupilClass ||
        got.from != expected.from || got.to != expected.to || got.total != expected.total ||
        got.right != expected.right || got.wrong != expected.wrong) {
        fail("the report read back differs from the run", decoded.text);
    }
    // The percentages of a run of up to a hundred thousand answers; beyond a million the
    // double the pupil's program divides in no longer tells a half from a hair below it.
    if (total > 0 && total <= 100'000) {
        const QString rightLine = QStringLiteral("\r\nZ toho dobře: %1 (%2%)\r\n")
                                      .arg(right)
                                      .arg(percentText(right, total, region));
        const QString wrongLine = QStringLiteral("\r\nšpatně: %1 (%2%)\r\n")
                                      .arg(wrong)
                                      .arg(percentText(wrong, total, region));
        if (!decoded.text.contains(rightLine) || !decoded.text.contains(wrongLine)) {
            fail("the percentages are not those of the counts", decoded.text);
        }
    }
    return 0;
}
