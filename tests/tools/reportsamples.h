#pragma once

#include "app/oledate.h"
#include "results/info2.h"
#include "results/reporttext.h"
#include "support/scriptedhost.h"

#include <QStringList>
#include <random>

namespace voltmetr::testing {

// A report text as the pupil's program writes it under Czech settings, of a run from
// 05.12.2026 08:00 to 08:45.
inline QString sampleReportText(const QString& name, const QString& pupilClass, int right,
                                int wrong)
{
    const QDate day(2026, 12, 5);
    return composeReportText({name, pupilClass, toOleDate(QDateTime(day, QTime(8, 0, 40))),
                              toOleDate(QDateTime(day, QTime(8, 45, 59))), right, wrong},
                             QLocale(QLocale::Czech, QLocale::CzechRepublic));
}

// The text encoded by the pupil's program's own coder, with a fresh random byte.
inline QString encodedReport(const QString& text)
{
    static ScriptedCoreHost host(5);
    static Info2 coder(host);
    coder.InitReportCoder();
    coder.AppendEncoded(text);
    return coder.GetReportText();
}

// A random name as typed, and as a decoded report shows it: letters the pupil's code page
// lacks come back as "?".
inline std::pair<QString, QString> randomName(std::mt19937& random)
{
    static const QStringList typed =
        QStringLiteral("a|Z|ř|Š|ů|Ď|ľ|ő|ß|'| |€|ø|ñ|Ж|λ|中|😀").split(u'|');
    static const QStringList shown =
        QStringLiteral("a|Z|ř|Š|ů|Ď|ľ|ő|ß|'| |€|?|?|?|?|?|?").split(u'|');
    std::uniform_int_distribution<qsizetype> pick(0, typed.size() - 1);
    std::pair<QString, QString> name;
    for (int n = std::uniform_int_distribution<int>(1, 40)(random); n > 0; --n) {
        const qsizetype piece = pick(random);
        name.first += typed[piece];
        name.second += shown[piece];
    }
    return name;
}

} // namespace voltmetr::testing
