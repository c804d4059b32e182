#pragma once

#include "ui/windowcontext.h"

#include <QDialog>

namespace voltmetr {

// The about box: what the program is for and how to reach its authors.
class info : public QDialog
{
    Q_OBJECT
public:
    explicit info(WindowContext& context, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    WindowContext& m_context;
};

} // namespace voltmetr
