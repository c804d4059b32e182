#include "ui/twips.h"

#include <QWidget>
#include <cmath>

namespace voltmetr {

int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

void placeTwips(QWidget& widget, int left, int top, int width, int height)
{
    widget.setGeometry(twipsRect(left, top, width, height));
}

void setFixedClientTwips(QWidget& window, int width, int height)
{
    window.setFixedSize(twipsToPixels(width), twipsToPixels(height));
}

QColor bgrColor(unsigned int bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

QFont designFont(const QString& family, double pointSize, bool bold, bool underline)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

void installFontSubstitutions()
{
    // "MS Sans Serif" has no Linux twin; Arial's metrics are the closest, so it gets the
    // Liberation Sans that stands in for Arial rather than fontconfig's wider default.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier"), QStringLiteral("Liberation Mono"));
}

} // namespace voltmetr
