#pragma once

#include "app/oledate.h"
#include "results/reporttext.h"

#include <QString>
#include <random>

namespace voltmetr::testing {

// A report text as the pupil's program writes it under Czech settings, of a run from
// 05.12.2026 08:00 to 08:45.
inline QString sampleReportText(const QString& name, const QString& pupilClass, int right,
                                int wrong)
{
    const QDate day(2026, 12, 5);
    ReportInputs inputs;
    inputs.pupilName = name;
    inputs.pupilClass = pupilClass;
    inputs.startDateTime = toOleDate(QDateTime(day, QTime(8, 0, 40)));
    inputs.endDateTime = toOleDate(QDateTime(day, QTime(8, 45, 59)));
    inputs.rightCount = right;
    inputs.wrongCount = wrong;
    return composeReportText(inputs, QLocale(QLocale::Czech, QLocale::CzechRepublic));
}

// A random name and what a decoded report shows of it: letters the pupil's code page lacks
// come back as "?".
struct SampleName
{
    QString typed;
    QString decoded;
};

inline SampleName randomName(std::mt19937& random)
{
    struct Piece
    {
        const char16_t* typed;
        const char16_t* decoded;
    };
    static const Piece pieces[] = {
        {u"a", u"a"}, {u"Z", u"Z"}, {u"ř", u"ř"}, {u"Š", u"Š"},  {u"ů", u"ů"},
        {u"í", u"í"}, {u"Ď", u"Ď"}, {u"ľ", u"ľ"}, {u"ő", u"ő"},  {u"ß", u"ß"},
        {u" ", u" "}, {u"-", u"-"}, {u"'", u"'"}, {u"€", u"€"},  {u"ø", u"?"},
        {u"ñ", u"?"}, {u"Ж", u"?"}, {u"λ", u"?"}, {u"中", u"?"}, {u"😀", u"?"},
    };
    std::uniform_int_distribution<int> length(1, 40);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    SampleName name;
    for (int n = length(random); n > 0; --n) {
        const Piece& piece = pieces[pick(random)];
        name.typed += QString::fromUtf16(piece.typed);
        name.decoded += QString::fromUtf16(piece.decoded);
    }
    return name;
}

} // namespace voltmetr::testing
