#include "school/period.h"

namespace voltmetr {

Period weekOf(const QDate& day)
{
    const QDate monday = day.addDays(1 - day.dayOfWeek());
    return {monday, monday.addDays(6)};
}

Period monthOf(const QDate& day)
{
    const QDate first(day.year(), day.month(), 1);
    return {first, first.addMonths(1).addDays(-1)};
}

Period schoolYearOf(const QDate& day)
{
    const int firstYear = day.month() >= 9 ? day.year() : day.year() - 1;
    return {QDate(firstYear, 9, 1), QDate(firstYear + 1, 8, 31)};
}

} // namespace voltmetr
