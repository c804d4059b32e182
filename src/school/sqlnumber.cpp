#include "school/sqlnumber.h"

#include "school/schooldatabase.h"

namespace voltmetr {

namespace {

SqlNumber joined(const SqlNumber& a, QLatin1StringView operation, const SqlNumber& b)
{
    return {u'(' + a.sql + operation + b.sql + u')'};
}

} // namespace

SqlNumber SqlNumber::column(const char* name)
{
    return {quotedName(name)};
}

SqlNumber SqlNumber::literal(double value)
{
    // 17 significant digits name every double exactly.
    return {QStringLiteral("CAST(%1 AS DOUBLE PRECISION)").arg(QString::number(value, 'g', 17))};
}

SqlNumber operator+(const SqlNumber& a, const SqlNumber& b)
{
    return joined(a, QLatin1StringView(" + "), b);
}

SqlNumber operator-(const SqlNumber& a, const SqlNumber& b)
{
    return joined(a, QLatin1StringView(" - "), b);
}

SqlNumber operator*(const SqlNumber& a, const SqlNumber& b)
{
    return joined(a, QLatin1StringView(" * "), b);
}

SqlNumber operator/(const SqlNumber& a, const SqlNumber& b)
{
    return {QStringLiteral("(%1 / NULLIF(%2, 0))").arg(a.sql, b.sql)};
}

SqlNumber operator-(const SqlNumber& a)
{
    return {QStringLiteral("(-%1)").arg(a.sql)};
}

QString betweenBounds(const SqlNumber& value, const SqlNumber& bound, const SqlNumber& otherBound)
{
    return QStringLiteral("(%1 BETWEEN LEAST(%2, %3) AND GREATEST(%2, %3))")
        .arg(value.sql, bound.sql, otherBound.sql);
}

} // namespace voltmetr
