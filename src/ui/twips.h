#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace voltmetr {

// Window geometry is given in twips: 15 twips per pixel at 96 dots per inch.
constexpr double twipsPerPixel = 15.0;

int twipsToPixels(double twips);
QRect twipsRect(int left, int top, int width, int height);
// Places a child widget at a position given in twips.
void placeTwips(QWidget& widget, int left, int top, int width, int height);
// Gives a window a fixed client area given in twips.
void setFixedClientTwips(QWidget& window, int width, int height);

// A colour written 0x00BBGGRR.
QColor bgrColor(unsigned int bgr);

// The program's fonts by their design names ("MS Sans Serif", "Times New Roman", "Arial",
// "Courier"): the faces that stand for one, the first one present winning, and a font of them.
QStringList designFaces(const QString& family);
QFont designFont(const QString& family, double pointSize, bool bold = false,
                 bool underline = false);

} // namespace voltmetr
