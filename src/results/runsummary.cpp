#include "results/runsummary.h"

#include "app/oledate.h"
#include "report/reportkey.h"

namespace voltmetr {

QString CountNoun(std::int64_t n)
{
    if (n == 1) {
        return QStringLiteral(" příklad");
    }
    if (n >= 2 && n <= 4) {
        return QStringLiteral(" příklady");
    }
    return QStringLiteral(" příkladů");
}

QString countCaption(std::int64_t n)
{
    const QString sign = n < 0 ? QString() : QStringLiteral(" ");
    return sign + QString::number(n) + CountNoun(n);
}

ResultRow resultRowFor(const Data_a_promene& state, double now, const QString& loginName)
{
    ResultRow row;
    row.surname = state.ProfileSurname;
    row.className = state.ProfileClass;
    row.rightCount = state.RightCount;
    row.wrongCount = state.WrongCount;
    row.startTime = state.StartTime;
    row.endTime = oleTimePart(now);
    row.date = oleDatePart(now);
    row.loginName = loginName;
    row.examType = ExerciseTypeCode;
    return row;
}

ReportInputs emailReportInputs(const Data_a_promene& state, double now)
{
    return ReportInputs{state.PupilName,  state.PupilClass, state.StartDateTime, now,
                        state.RightCount, state.WrongCount};
}

ReportInputs fallbackReportInputs(const Data_a_promene& state, double now)
{
    double start = oleDatePart(now) + state.StartTime;
    if (start > now) {
        start -= 1;
    }
    return ReportInputs{state.ProfileSurname, state.ProfileClass, start, now,
                        state.RightCount,     state.WrongCount};
}

} // namespace voltmetr
