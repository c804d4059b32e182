#pragma once

#include "app/oledate.h"
#include "report/info2.h"
#include "report/reporttext.h"
#include "support/scriptedhost.h"

namespace voltmetr::testing {

// A report text as the pupil's program writes it in Czech, of a run on 05.12.2026 08:00-08:45
// unless told otherwise.
inline QString sampleReportText(const QString& name, const QString& pupilClass, int right,
                                int wrong, const QDateTime& from = {{2026, 12, 5}, {8, 0, 40}},
                                const QDateTime& to = {{2026, 12, 5}, {8, 45, 59}})
{
    return composeReportText({name, pupilClass, toOleDate(from), toOleDate(to), right, wrong},
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

} // namespace voltmetr::testing
