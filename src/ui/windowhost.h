#pragma once

#include "app/host.h"

class QDialog;

namespace voltmetr {

// The host as the windows see it: everything of Host plus showing a dialog modally, which
// returns once the dialog has closed. After endProgram() it shows nothing and returns at once.
class WindowHost : public Host
{
public:
    virtual void showModal(QDialog& dialog) = 0;
};

} // namespace voltmetr
