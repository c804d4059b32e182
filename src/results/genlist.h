#pragma once

#include "ui/windowcontext.h"

#include <QDialog>

class QPlainTextEdit;

namespace voltmetr {

// The last window of an e-mail run: shows the encoded report and hands it out through the
// clipboard or a text file.
class GenList : public QDialog
{
    Q_OBJECT
public:
    explicit GenList(WindowContext& context, QWidget* parent = nullptr);

    // "Konec" is the cancel button: Esc and a close from the desktop end the program too.
    void reject() override;

private:
    void clipbrd_Click();
    void txtfile_Click();
    void final_Click();

    WindowContext& m_context;
    QPlainTextEdit* m_data;
};

} // namespace voltmetr
