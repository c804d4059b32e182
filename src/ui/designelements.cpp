#include "ui/designelements.h"

#include "ui/twips.h"

#include <QButtonGroup>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace voltmetr {

QLabel* makeLabel(QWidget& parent, const LabelDesign& design)
{
    auto* label = new QLabel(design.caption, &parent);
    label->setObjectName(design.objectName);
    label->setFont(design.font);
    label->setAlignment(design.alignment);
    // The design colour while the label is enabled; a disabled one greys as the style has it.
    QPalette palette = label->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, bgrColor(design.bgrTextColour));
    }
    label->setPalette(palette);
    placeTwips(*label, design.left, design.top, design.width, design.height);
    const QFontMetrics metrics(design.font);
    if (label->height() >= 2 * metrics.lineSpacing()) {
        label->setWordWrap(true);
    } else if (design.shrinkToFit) {
        QFont font = design.font;
        while (QFontMetricsF(font).horizontalAdvance(design.caption) > label->width() &&
               font.pointSizeF() > 1) {
            font.setPointSizeF(font.pointSizeF() - 0.25);
        }
        label->setFont(font);
    } else if (design.alignment & Qt::AlignLeft) {
        // A one-line caption a few pixels wider than its box keeps its last word rather than
        // losing it.
        const int needed = metrics.horizontalAdvance(design.caption);
        label->resize(std::max(label->width(), needed), label->height());
    }
    return label;
}

QPushButton* makeButton(QWidget& parent, const QString& objectName, const QString& caption,
                        int left, int top, int width, int height, const QFont& font)
{
    auto* button = new QPushButton(caption, &parent);
    button->setObjectName(objectName);
    button->setFont(font);
    placeTwips(*button, left, top, width, height);
    return button;
}

void useTwips(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(1.0 / twipsPerPixel, 1.0 / twipsPerPixel);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        Q_EMIT clicked();
    }
    QLabel::mousePressEvent(event);
}

ChoiceLabel::ChoiceLabel(QWidget* parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    // Only the chosen one is a stop of the Tab chain, as in a group of option buttons.
    connect(this, &QAbstractButton::toggled, this,
            [this](bool chosen) { setFocusPolicy(chosen ? Qt::TabFocus : Qt::NoFocus); });
}

void ChoiceLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QPalette::ColorRole role = QPalette::WindowText;
    if (hasFocus()) {
        painter.fillRect(rect(), palette().color(QPalette::Highlight));
        role = QPalette::HighlightedText;
    }
    style()->drawItemText(&painter, rect(), Qt::AlignCenter, palette(), isEnabled(), text(), role);
}

QAbstractButton* ChoiceLabel::neighbour(int step) const
{
    const QButtonGroup* choices = group();
    if (choices == nullptr) {
        return nullptr;
    }
    for (int id = choices->id(const_cast<ChoiceLabel*>(this)) + step;; id += step) {
        QAbstractButton* candidate = choices->button(id);
        if (candidate == nullptr) {
            return nullptr;
        }
        if (candidate->isVisibleTo(parentWidget()) && candidate->isEnabled()) {
            return candidate;
        }
    }
}

void ChoiceLabel::keyPressEvent(QKeyEvent* event)
{
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        step = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step = 1;
        break;
    default:
        QAbstractButton::keyPressEvent(event);
        return;
    }
    if (QAbstractButton* next = neighbour(step)) {
        next->setFocus(Qt::TabFocusReason);
        next->click();
    }
}

} // namespace voltmetr
