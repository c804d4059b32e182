#include "school/classname.h"

#include <QLocale>
#include <QRegularExpression>
#include <optional>

namespace voltmetr {

namespace {

// The year of a class: the number the name begins with.
std::optional<int> yearOf(const QString& name)
{
    qsizetype digits = 0;
    while (digits < name.size() && digits < 3 && name[digits].isDigit()) {
        ++digits;
    }
    return digits == 0 ? std::nullopt : std::optional(name.first(digits).toInt());
}

// Only blanks part the pieces: a tab or a line break is no part of a typed class name.
QRegularExpressionMatch classNameParts(const QString& typed)
{
    static const QRegularExpression className(QStringLiteral(
        R"(^[ \x{a0}]*([1-9][0-9]?)[ \x{a0}]*\.?[ \x{a0}]*(\p{L}{1,3})([0-9]?)[ \x{a0}]*$)"));
    return className.match(typed);
}

} // namespace

bool isClassName(const QString& typed)
{
    return classNameParts(typed).hasMatch();
}

QString unifiedClassName(const QString& typed)
{
    const QRegularExpressionMatch parts = classNameParts(typed);
    if (!parts.hasMatch()) {
        return typed;
    }
    return parts.captured(1) + u'.' + parts.captured(2).toUpper() + parts.captured(3);
}

ClassNameOrder::ClassNameOrder() : m_czech(QLocale(QLocale::Czech, QLocale::CzechRepublic)) {}

bool ClassNameOrder::operator()(const QString& a, const QString& b) const
{
    const std::optional<int> yearA = yearOf(a);
    const std::optional<int> yearB = yearOf(b);
    if (yearA.has_value() != yearB.has_value()) {
        return yearA.has_value();
    }
    if (yearA != yearB) {
        return *yearA < *yearB;
    }
    // Texts the collation holds equal (a control character is ignorable to it) stay apart.
    const int czech = m_czech.compare(a, b);
    return czech != 0 ? czech < 0 : a < b;
}

} // namespace voltmetr
