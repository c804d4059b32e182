#pragma once

#include <QDialog>

namespace voltmetr {

// Shown when a long overload has destroyed the meter. Its one button answers Enter, Esc and a
// close by the desktop alike.
class Merak_KO : public QDialog
{
    Q_OBJECT
public:
    explicit Merak_KO(QWidget* parent = nullptr);

    void Command1_Click() { accept(); }
    void reject() override { Command1_Click(); }
};

} // namespace voltmetr
