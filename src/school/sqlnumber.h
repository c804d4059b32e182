#pragma once

#include <QString>

namespace voltmetr {

// A number the database works out, in double precision, written with double's operators: a rule
// written once for numbers, given this type instead of double, becomes the database's expression
// of the same rule, with the same roundings. A division by zero gives NULL, where double gives an
// infinity: neither equals any number, and the database does not fail the row's statement.
struct SqlNumber
{
    QString sql;

    // A column of a row, by its name.
    static SqlNumber column(const char* name);
    // Exactly the double: every digit it needs, read back as the same double.
    static SqlNumber literal(double value);
};

SqlNumber operator+(const SqlNumber& a, const SqlNumber& b);
SqlNumber operator-(const SqlNumber& a, const SqlNumber& b);
SqlNumber operator*(const SqlNumber& a, const SqlNumber& b);
SqlNumber operator/(const SqlNumber& a, const SqlNumber& b);
SqlNumber operator-(const SqlNumber& a);

inline SqlNumber operator*(const SqlNumber& a, double b)
{
    return a * SqlNumber::literal(b);
}
inline SqlNumber operator*(double a, const SqlNumber& b)
{
    return SqlNumber::literal(a) * b;
}
inline SqlNumber operator/(const SqlNumber& a, double b)
{
    return a / SqlNumber::literal(b);
}

// The condition that value lies from the lower to the higher of two bounds, both included. A
// server's SQL (LEAST and GREATEST).
QString betweenBounds(const SqlNumber& value, const SqlNumber& bound, const SqlNumber& otherBound);

} // namespace voltmetr
