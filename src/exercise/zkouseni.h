#pragma once

#include "ui/windowcontext.h"

#include <QWidget>

namespace voltmetr {

// The exercise window: the meter, the circuit, the range switch and the answer row.
class Zkouseni : public QWidget
{
    Q_OBJECT
public:
    explicit Zkouseni(WindowContext& context, QWidget* parent = nullptr);

private:
    WindowContext& m_context;
};

} // namespace voltmetr
