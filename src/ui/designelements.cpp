#include "ui/designelements.h"

#include "ui/twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace voltmetr {

QLabel* makeLabel(QWidget& parent, const LabelDesign& design)
{
    auto* label = new QLabel(design.caption, &parent);
    label->setObjectName(design.objectName);
    label->setFont(design.font);
    label->setAlignment(design.alignment);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, bgrColor(design.bgrTextColour));
    label->setPalette(palette);
    placeTwips(*label, design.left, design.top, design.width, design.height);
    const QFontMetrics metrics(design.font);
    if (label->height() >= 2 * metrics.lineSpacing()) {
        label->setWordWrap(true);
    } else if (design.alignment & Qt::AlignLeft) {
        // A one-line caption a few pixels wider than its box on this system's fonts keeps its
        // last word rather than losing it.
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

} // namespace voltmetr
