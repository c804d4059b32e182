#include "ui/info.h"

#include "ui/twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace voltmetr {

namespace {

QLabel* addLabel(QWidget& parent, const QString& text, const QRect& twips, const QFont& font)
{
    auto* label = new QLabel(text, &parent);
    placeTwips(*label, twips.x(), twips.y(), twips.width(), twips.height());
    label->setFont(font);
    return label;
}

void setTextColor(QLabel& label, unsigned int bgr)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, bgrColor(bgr));
    label.setPalette(palette);
}

} // namespace

info::info(WindowContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::CustomizeWindowHint),
      m_context(context)
{
    setWindowTitle(QStringLiteral("Informace"));
    setFixedClientTwips(*this, 4065, 5370);
    const QFont text = designFont(QStringLiteral("MS Sans Serif"), 8.25);
    const QString mailAddress = QString::fromUtf16(MailAddress);

    QLabel* title = addLabel(*this, QStringLiteral("Prověřovák 2: Měření na voltmetru"),
                             QRect(120, 120, 3855, 795),
                             designFont(QStringLiteral("Arial"), 15.75, true, true));
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    setTextColor(*title, 0x00008000);

    QLabel* version = addLabel(*this, QStringLiteral("verze 2.0\nTým Voltmetr, 2026"),
                               QRect(0, 960, 3975, 495), designFont(QStringLiteral("Arial"), 8.25));
    version->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    QLabel* purpose = addLabel(
        *this,
        QStringLiteral("Tento program je určen žákům SPŠ Lipová na procvičování praktického "
                       "měření elektrických veličin na analogových měřících přístrojích. Jeho "
                       "prostředí je k tomuto účelu také vytvořeno a přispůsobeno. Doufám, že se "
                       "Vám tento program zalíbí a budete jeho věrnými uživateli.\n"
                       "Mnoho správných měření Vám přeje\n"
                       "                                        Tým Voltmetr"),
        QRect(120, 1800, 3855, 1695), text);
    purpose->setWordWrap(true);
    purpose->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QLabel* contact = addLabel(
        *this,
        QStringLiteral("Pokud byste nalezli v tomto programu chybu nebo měli námět na jeho "
                       "zlepšení či návrh na jiný program můžete mě kontaktovat e-mailem na:"),
        QRect(120, 3600, 3855, 615), text);
    contact->setWordWrap(true);
    contact->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_address = addLabel(*this, mailAddress, QRect(2640, 4320, 1275, 195), text);
    setTextColor(*m_address, 0x00FF0000);
    m_address->setCursor(Qt::PointingHandCursor);
    m_address->installEventFilter(this);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    placeTwips(*ok, 1440, 4920, 1335, 375);
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool info::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_address && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // Whether a mail program answers is not ours to report: the box stays as it is.
        m_context.host.openLink(QStringLiteral("mailto:") + m_address->text());
        return true;
    }
    return QDialog::eventFilter(watched, event);
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
