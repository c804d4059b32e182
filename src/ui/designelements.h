#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QLabel>
#include <QString>

class QPainter;
class QPushButton;
class QWidget;

namespace voltmetr {

// A fixed window whose title bar has no close box: it is left only through its own buttons.
inline constexpr Qt::WindowFlags fixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;

// A label placed in twips, with its design font, alignment and text colour.
struct LabelDesign
{
    QString objectName;
    QString caption;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    unsigned int bgrTextColour = 0x000000; // 0x00BBGGRR
    // A one-line left-aligned caption wider than its box on this system's fonts: the box grows to
    // the right, or, where something stands beside it (a frame line), keeps its size and the
    // font shrinks by quarter points until the caption fits.
    bool shrinkToFit = false;
};

QLabel* makeLabel(QWidget& parent, const LabelDesign& design);
// Gives a label of any kind the design's text, font, colour and box.
void designLabel(QLabel& label, const LabelDesign& design);

// A title written with spaces between its letters ("C H Y B A") stays so on the screen; assistive
// technology gets the word ("Chyba"), which a screen reader would otherwise spell letter by letter.
void setLetterSpacedTitle(QWidget& window, const QString& spacedTitle);

// A command button placed in twips; "&" in the caption marks its access key.
QPushButton* makeButton(QWidget& parent, const QString& objectName, const QString& caption,
                        int left, int top, int width, int height, const QFont& font);

// Makes painter draw in twips: 15 twips to a pixel, antialiased.
void useTwips(QPainter& painter);

// A label that reports a click, as the range labels of the switch do.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// One choice of an exclusive QButtonGroup that looks like a label: its caption centred in its
// box, nothing more; assistive technology knows it as a radio button. It chooses on a click or on
// Space. The group is one stop of the Tab chain, at the chosen one; the arrow keys go to the
// neighbouring shown choice (in the order of the group's ids) and choose it. While it has the
// keyboard focus its box is filled with the highlight colour, so a pupil without a mouse sees where
// he is.
class ChoiceLabel : public QAbstractButton
{
    Q_OBJECT
public:
    explicit ChoiceLabel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The shown choice step places away in the group's order, or nullptr at either end.
    QAbstractButton* neighbour(int step) const;
};

// A warning that blinks while its cause lasts. Its blink only darkens and lights its text: the
// warning stays on the screen, so that assistive technology meets it once, as a notification
// (which a screen reader speaks as it appears) and an alert event when it is posted, and hears
// no flicker of objects that come and go.
class BlinkingWarning : public QLabel
{
    Q_OBJECT
public:
    explicit BlinkingWarning(QWidget* parent = nullptr);

    // Shows the warning, or takes it away; posting it announces it.
    void setPosted(bool posted);
    // The blink: lit or dark while posted.
    void setLit(bool lit);
    bool isLit() const { return m_lit; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_lit = true;
};

// The box that holds an exclusive group of ChoiceLabels; assistive technology knows it as their
// group, under its accessible name.
class ChoiceGroup : public QWidget
{
    Q_OBJECT
public:
    explicit ChoiceGroup(QWidget* parent = nullptr);
};

} // namespace voltmetr
