#pragma once

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
};

QLabel* makeLabel(QWidget& parent, const LabelDesign& design);

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

} // namespace voltmetr
