#pragma once

#include "app/runstate.h"
#include "report/info2.h"
#include "ui/windowhost.h"

namespace voltmetr {

// What every window is handed: the desktop, the run state and the report coder. One instance
// lives in main.
struct WindowContext
{
    WindowHost& host;
    Data_a_promene& state;
    Info2& coder;
};

} // namespace voltmetr
