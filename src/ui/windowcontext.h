#pragma once

#include "app/runstate.h"
#include "ui/windowhost.h"

namespace voltmetr {

// What every window is handed: the desktop and the run state. One instance lives in main.
struct WindowContext
{
    WindowHost& host;
    Data_a_promene& state;
};

} // namespace voltmetr
