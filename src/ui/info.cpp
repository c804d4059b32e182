#include "ui/info.h"

#include "app/version.h"
#include "school/schoolsettings.h"
#include "ui/designelements.h"
#include "ui/twips.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

namespace voltmetr {

namespace {

// The author's address: a link that a click, or Enter or Space once Tab has reached it, opens.
// The focus frame shows a pupil without a mouse where the keyboard is.
class MailLinkLabel final : public ClickableLabel
{
public:
    using ClickableLabel::ClickableLabel;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            Q_EMIT clicked();
            return;
        default:
            ClickableLabel::keyPressEvent(event);
        }
    }

    void paintEvent(QPaintEvent* event) override
    {
        ClickableLabel::paintEvent(event);
        if (!hasFocus()) {
            return;
        }
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        const int textWidth = fontMetrics().horizontalAdvance(text());
        frame.rect = QStyle::alignedRect(layoutDirection(), alignment(),
                                         QSize(textWidth + 4, height()), rect());
        QPainter painter(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
};

} // namespace

info::info(WindowContext& context, QWidget* parent)
    : QDialog(parent, fixedDialogFlags), m_context(context)
{
    setWindowTitle(QStringLiteral("Informace"));
    setFixedClientTwips(*this, 4065, 5370);
    const QFont text = designFont(QStringLiteral("MS Sans Serif"), 8.25);
    const Qt::Alignment topLeft = Qt::AlignLeft | Qt::AlignTop;

    makeLabel(*this, {QStringLiteral("Label2"), QStringLiteral("Prověřovák 2: Měření na voltmetru"),
                      120, 120, 3855, 795, designFont(QStringLiteral("Arial"), 15.75, true, true),
                      Qt::AlignCenter, 0x00008000});
    makeLabel(*this,
              {QStringLiteral("Label7"),
               QStringLiteral("verze %1\nTým Voltmetr, 2026").arg(programVersion()), 0, 960, 3975,
               495, designFont(QStringLiteral("Arial"), 8.25), Qt::AlignHCenter | Qt::AlignTop});
    makeLabel(*this,
              {QStringLiteral("Label3"),
               QStringLiteral("Tento program je určen žákům SPŠ Lipová na procvičování praktického "
                              "měření elektrických veličin na analogových měřících přístrojích. "
                              "Jeho prostředí je k tomuto účelu také vytvořeno a přispůsobeno. "
                              "Doufám, že se Vám tento program zalíbí a budete jeho věrnými "
                              "uživateli.\n"
                              "Mnoho správných měření Vám přeje\n"
                              "                                        Tým Voltmetr"),
               120, 1800, 3855, 1695, text, topLeft});
    makeLabel(*this,
              {QStringLiteral("Label4"),
               QStringLiteral("Pokud byste nalezli v tomto programu chybu nebo měli námět na jeho "
                              "zlepšení či návrh na jiný program můžete mě kontaktovat e-mailem "
                              "na:"),
               120, 3600, 3855, 615, text, topLeft});

    // The school's own address when its administrator has set one.
    const QString mailAddress = configuredContactAddress().value;
    auto* address = new MailLinkLabel(mailAddress, this);
    address->setObjectName(QStringLiteral("Label6"));
    address->setFont(text);
    // Our address is longer than the one the box was laid out for: the label grows to the left,
    // and further, up to the box's margin, for a school's longer address.
    placeTwips(*address, 1440, 4320, 2475, 195);
    const QRect laidOut = address->geometry();
    const int needed = address->fontMetrics().horizontalAdvance(mailAddress) + 4;
    const int widest = laidOut.right() - twipsToPixels(120) + 1;
    if (needed > laidOut.width()) {
        const int width = std::min(needed, widest);
        address->setGeometry(laidOut.right() + 1 - width, laidOut.top(), width, laidOut.height());
    }
    address->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette palette = address->palette();
    palette.setColor(QPalette::WindowText, bgrColor(0x00FF0000));
    address->setPalette(palette);
    address->setCursor(Qt::PointingHandCursor);
    address->setFocusPolicy(Qt::TabFocus);
    address->setAccessibleName(QStringLiteral("Napsat e-mail: ") + mailAddress);
    address->setAccessibleDescription(QStringLiteral("Otevře novou zprávu v poštovním programu."));
    // Whether a mail program answers is not ours to report: the box stays as it is.
    connect(address, &ClickableLabel::clicked, this, [this, mailAddress] {
        m_context.host.openLink(QStringLiteral("mailto:") + mailAddress);
    });

    QPushButton* ok = makeButton(*this, QStringLiteral("Command1"), QStringLiteral("&OK"), 1440,
                                 4920, 1335, 375, text);
    ok->setDefault(true);
    setTabOrder(ok, address);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void info::keyPressEvent(QKeyEvent* event)
{
    // Only "OK" closes the box; Esc is not one of its buttons.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace voltmetr
