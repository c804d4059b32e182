#pragma once

#include "ui/windowcontext.h"

#include <QDialog>

class QLabel;

namespace voltmetr {

// The about box: what the program is for and how to reach its authors.
class info : public QDialog
{
    Q_OBJECT
public:
    static constexpr char16_t MailAddress[] = u"voltmetr@example.cz";

    explicit info(WindowContext& context, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    WindowContext& m_context;
    QLabel* m_address;
};

} // namespace voltmetr
