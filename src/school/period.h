#pragma once

#include <QDate>
#include <optional>

namespace voltmetr {

// The days whose runs a teacher looks at, both ends included. An open end reaches as far as the
// runs do; with both ends open every run counts, also one stored without a date.
struct Period
{
    std::optional<QDate> from;
    std::optional<QDate> to;

    bool whole() const { return !from && !to; }
    friend bool operator==(const Period&, const Period&) = default;
};

// The week of day, Monday to Sunday.
Period weekOf(const QDate& day);
// The calendar month of day.
Period monthOf(const QDate& day);
// The school year of day, 1 September to 31 August.
Period schoolYearOf(const QDate& day);

} // namespace voltmetr
