#pragma once

#include <QCollator>
#include <QString>

namespace voltmetr {

// A class name as a Czech school writes it: the year, a dot, the letters of the class in capitals
// and at most one digit of a group after them ("2.B", "4.SA", "1.A1"). The same class typed
// otherwise ("2. B", "2B", "2.b", " 2.B ") comes out so; a text that is no such name ("Sexta",
// "II.B", "2.B skupina", "-2.B") comes back as typed, for the teacher to see it.
QString unifiedClassName(const QString& typed);

// Whether the text is a class name that unifiedClassName writes one way: a year and letters.
bool isClassName(const QString& typed);

// Classes in the order a school lists them: by year ("9.A" before "10.A"), then the rest of the
// name in Czech order; names that do not begin with a year after all the others.
class ClassNameOrder
{
public:
    ClassNameOrder();
    bool operator()(const QString& a, const QString& b) const;

private:
    QCollator m_czech;
};

} // namespace voltmetr
