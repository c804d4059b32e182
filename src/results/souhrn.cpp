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

// The caption of the row that a count stands in: the label whose buddy it is.
QString rowCaption(const QLabel& count)
{
    for (const QLabel* label :
         count.parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() == &count) {
            return label->text();
        }
    }
    return {};
}

// A screen reader says each count with its row's caption: "Dobře: 3".
void showCounts(const std::array<QLabel*, 3>& labels, const RunEnd::Counts& counts)
{
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i]->setText(counts[i]);
        labels[i]->setAccessibleName(rowCaption(*labels[i]) + QLatin1Char(' ') +
                                     counts[i].trimmed());
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
    // A row's caption, then its count, which the caption labels: assistive technology reads
    // the summary row by row.
    struct Row
    {
        const char* captionName;
        QString caption;
        int left, top, width;
        const char* countName;
        int countTop, countWidth;
        unsigned int bgr;
    };
    const auto row = [&label](const Row& r) {
        QLabel* caption = label(QString::fromLatin1(r.captionName), r.caption, r.left, r.top,
                                r.width, r.bgr, Qt::AlignLeft);
        QLabel* count = label(QString::fromLatin1(r.countName), {}, 2640, r.countTop, r.countWidth,
                              r.bgr, Qt::AlignRight);
        caption->setBuddy(count);
        return count;
    };
    constexpr unsigned int black = 0x00000000;
    const QString right = QStringLiteral("Dobře:");
    const QString wrong = QStringLiteral("Špatně:");
    m_today = {row({"Label1", QStringLiteral("Dnes jsi spočítal:"), 120, 120, 1920, "Dnes0", 120,
                    1830, black}),
               row({"Label3", right, 360, 480, 780, "Dnes1", 480, 1830, green}),
               row({"Label4", wrong, 360, 840, 855, "Dnes2", 840, 1845, darkRed})};
    m_total = {row({"Label2", QStringLiteral("Celkem jsi spočítal:"), 120, 1440, 2160, "Celk0",
                    1320, 1830, black}),
               row({"Label5", right, 360, 1800, 780, "Celk1", 1680, 1830, green}),
               row({"Label6", wrong, 360, 2160, 855, "Celk2", 2040, 1845, darkRed})};

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
