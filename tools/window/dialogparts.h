#pragma once

#include <QString>
#include <functional>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QWidget;

namespace voltmetr::teacher {

// What the teacher's dialogs are built of.

// A label for a control, whose text (without the mnemonic's "&" and the colon) also names the
// control for assistive technology.
QLabel* labelFor(const QString& text, QWidget* buddy);

// Where a dialog says why it did nothing: wrapped, in the colour of a weak share, hidden while
// empty.
QLabel* problemLabel(QWidget* parent);
void showProblem(QLabel* label, const QString& problem);

// The buttons under a dialog: its action, the default, doing `act`, and "Zrušit"; Czech whatever
// translations the system holds.
QDialogButtonBox* actionButtons(QDialog* dialog, QPushButton* action,
                                const std::function<void()>& act);

} // namespace voltmetr::teacher
