#include "results/souhrn.h"

#include "results/runend.h"
#include "ui/designelements.h"
#include "ui/twips.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace voltmetr {

namespace {

constexpr unsigned int green = 0x00008000;
constexpr unsigned int darkRed = 0x00000080;

void showCounts(const std::array<QLabel*, 3>& labels, const RunEnd::Counts& counts)
{
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i]->setText(counts[i]);
    }
}

} // namespace

Souhrn::Souhrn(WindowContext& context, QWidget* parent)
    : QDialog(parent, fixedDialogFlags), m_context(context)
{
    setWindowTitle(QStringLiteral("Souhrn"));
    setFixedClientTwips(*this, 4680, 3255);
    const QFont font = designFont(QStringLiteral("MS Sans Serif"), 12);
    const auto label = [this, &font](const QString& name, const QString& caption, int left, int top,
                                     int width, unsigned int bgr, Qt::Alignment alignment) {
        return makeLabel(
            *this, {name, caption, left, top, width, 300, font, alignment | Qt::AlignVCenter, bgr});
    };
    const auto count = [&label](const QString& name, int top, int width, unsigned int bgr) {
        return label(name, {}, 2640, top, width, bgr, Qt::AlignRight);
    };
    constexpr unsigned int black = 0x00000000;

    label(QStringLiteral("Label1"), QStringLiteral("Dnes jsi spočítal:"), 120, 120, 1920, black,
          Qt::AlignLeft);
    label(QStringLiteral("Label3"), QStringLiteral("Dobře:"), 360, 480, 780, green, Qt::AlignLeft);
    label(QStringLiteral("Label4"), QStringLiteral("Špatně:"), 360, 840, 855, darkRed,
          Qt::AlignLeft);
    m_today = {count(QStringLiteral("Dnes0"), 120, 1830, black),
               count(QStringLiteral("Dnes1"), 480, 1830, green),
               count(QStringLiteral("Dnes2"), 840, 1845, darkRed)};

    label(QStringLiteral("Label2"), QStringLiteral("Celkem jsi spočítal:"), 120, 1440, 2160, black,
          Qt::AlignLeft);
    label(QStringLiteral("Label5"), QStringLiteral("Dobře:"), 360, 1800, 780, green, Qt::AlignLeft);
    label(QStringLiteral("Label6"), QStringLiteral("Špatně:"), 360, 2160, 855, darkRed,
          Qt::AlignLeft);
    m_total = {count(QStringLiteral("Celk0"), 1320, 1830, black),
               count(QStringLiteral("Celk1"), 1680, 1830, green),
               count(QStringLiteral("Celk2"), 2040, 1845, darkRed)};

    m_ok = makeButton(*this, QStringLiteral("Command1"), QStringLiteral("&OK"), 1680, 2640, 1455,
                      495, designFont(QStringLiteral("MS Sans Serif"), 13.5, true));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &Souhrn::Command1_Click);

    m_end = new RunEnd(context.host, context.state, context.coder, this);
    showCounts(m_today, m_end->today());
    showCounts(m_total, m_end->total());
    m_ok->setEnabled(!m_end->saving());
    connect(m_end, &RunEnd::saveEnded, this, [this] {
        showCounts(m_total, m_end->total());
        m_ok->setEnabled(true);
        m_ok->setFocus();
        Q_EMIT saveEnded();
    });
}

void Souhrn::Command1_Click()
{
    // Enter, Esc or the desktop's close while the row is being stored: the pupil waits for it.
    if (m_end->saving()) {
        return;
    }
    done(QDialog::Accepted);
    if (m_end->handsOutReport()) {
        m_context.flow().openTeacherReport(parentWidget());
    } else {
        m_context.host.endProgram();
    }
}

void Souhrn::reject()
{
    Command1_Click();
}

void Souhrn::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // An etched rule between today's and the all-time counts.
    QPainter painter(this);
    const QRect rule = twipsRect(120, 1200, 4440, 0);
    painter.setPen(QPen(bgrColor(0x00808080), 1));
    painter.drawLine(rule.left(), rule.top(), rule.right(), rule.top());
    painter.setPen(QPen(bgrColor(0x00FFFFFF), 1));
    painter.drawLine(rule.left(), rule.top() + 1, rule.right(), rule.top() + 1);
}

} // namespace voltmetr
