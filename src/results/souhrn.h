#pragma once

#include "ui/windowcontext.h"

#include <QDialog>

namespace voltmetr {

// The summary that closes a run: stores the result or hands out the encoded report.
class Souhrn : public QDialog
{
    Q_OBJECT
public:
    explicit Souhrn(WindowContext& context, QWidget* parent = nullptr);

private:
    WindowContext& m_context;
};

} // namespace voltmetr
