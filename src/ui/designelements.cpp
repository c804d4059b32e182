#include "ui/designelements.h"

#include "ui/twips.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace voltmetr {

namespace {

// A design element as assistive technology should know it: in its own role, and named by its
// caption unless it has an accessible name of its own.
class AccessibleElement : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    QString text(QAccessible::Text kind) const override
    {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty()) {
            text = widget()->property("text").toString();
        }
        return text;
    }
};

// A ChoiceLabel is a radio button: checked while chosen, and its press action chooses it.
class AccessibleChoice final : public AccessibleElement
{
public:
    explicit AccessibleChoice(ChoiceLabel* choice)
        : AccessibleElement(choice, QAccessible::RadioButton)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = AccessibleElement::state();
        state.checkable = true;
        state.checked = choice().isChecked();
        return state;
    }
    QStringList actionNames() const override
    {
        return AccessibleElement::actionNames() << pressAction();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction()) {
            choice().click();
        } else {
            AccessibleElement::doAction(name);
        }
    }

private:
    QAbstractButton& choice() const { return *static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* accessibleDesignElement(const QString& className, QObject* object)
{
    const auto is = [&className](const QMetaObject& type) {
        return className == QLatin1String(type.className());
    };
    auto* widget = static_cast<QWidget*>(object);
    if (is(ChoiceLabel::staticMetaObject)) {
        return new AccessibleChoice(static_cast<ChoiceLabel*>(widget));
    }
    if (is(BlinkingWarning::staticMetaObject)) {
        return new AccessibleElement(widget, QAccessible::Notification);
    }
    if (is(ChoiceGroup::staticMetaObject)) {
        return new AccessibleElement(widget, QAccessible::Grouping);
    }
    return nullptr;
}

void installAccessibleDesignElements()
{
    static const bool installed = (QAccessible::installFactory(accessibleDesignElement), true);
    Q_UNUSED(installed);
}

} // namespace

QLabel* makeLabel(QWidget& parent, const LabelDesign& design)
{
    auto* label = new QLabel(&parent);
    designLabel(*label, design);
    return label;
}

void designLabel(QLabel& label, const LabelDesign& design)
{
    label.setText(design.caption);
    label.setObjectName(design.objectName);
    label.setFont(design.font);
    label.setAlignment(design.alignment);
    // The design colour while the label is enabled; a disabled one greys as the style has it.
    QPalette palette = label.palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, bgrColor(design.bgrTextColour));
    }
    label.setPalette(palette);
    placeTwips(label, design.left, design.top, design.width, design.height);
    const QFontMetrics metrics(design.font);
    if (label.height() >= 2 * metrics.lineSpacing()) {
        label.setWordWrap(true);
    } else if (design.shrinkToFit) {
        QFont font = design.font;
        while (QFontMetricsF(font).horizontalAdvance(design.caption) > label.width() &&
               font.pointSizeF() > 1) {
            font.setPointSizeF(font.pointSizeF() - 0.25);
        }
        label.setFont(font);
    } else if (design.alignment & Qt::AlignLeft) {
        // A one-line caption a few pixels wider than its box keeps its last word rather than
        // losing it.
        const int needed = metrics.horizontalAdvance(design.caption);
        label.resize(std::max(label.width(), needed), label.height());
    }
}

void setLetterSpacedTitle(QWidget& window, const QString& spacedTitle)
{
    window.setWindowTitle(spacedTitle);
    const QString word = QString(spacedTitle).remove(QLatin1Char(' ')).toLower();
    window.setAccessibleName(word.left(1).toUpper() + word.mid(1));
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
    installAccessibleDesignElements();
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

BlinkingWarning::BlinkingWarning(QWidget* parent) : QLabel(parent)
{
    installAccessibleDesignElements();
    hide();
}

void BlinkingWarning::setPosted(bool posted)
{
    if (posted == !isHidden()) {
        return;
    }
    setVisible(posted);
    if (posted) {
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void BlinkingWarning::setLit(bool lit)
{
    if (lit != m_lit) {
        m_lit = lit;
        update();
    }
}

void BlinkingWarning::paintEvent(QPaintEvent* event)
{
    if (m_lit) {
        QLabel::paintEvent(event);
    }
}

ChoiceGroup::ChoiceGroup(QWidget* parent) : QWidget(parent)
{
    installAccessibleDesignElements();
}

} // namespace voltmetr
