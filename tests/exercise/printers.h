#pragma once

#include "exercise/numbertext.h"

#include <ostream>

namespace voltmetr {

// Lets a failing comparison of calculations print its texts.
inline void PrintTo(const WorkedCalculation& c, std::ostream* os)
{
    *os << '{' << c.Roz.toStdString() << " | " << c.Dilk.toStdString() << " | "
        << c.Ukaz.toStdString() << " | " << c.Souh.toStdString() << " | " << c.Vys.toStdString()
        << '}';
}

} // namespace voltmetr
