#pragma once

#include "app/runstate.h"
#include "report/info2.h"
#include "ui/windowflow.h"
#include "ui/windowhost.h"

#include <QtGlobal>

namespace voltmetr {

// What every window is handed: the desktop, the run state, the report coder and the flow that
// opens the next window. One instance lives in main; the flow sets itself in.
struct WindowContext
{
    WindowHost& host;
    Data_a_promene& state;
    Info2& coder;
    WindowFlow* next = nullptr;

    WindowFlow& flow() const
    {
        Q_ASSERT(next != nullptr);
        return *next;
    }
};

} // namespace voltmetr
