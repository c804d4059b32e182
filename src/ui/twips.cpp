#include "ui/twips.h"

#include <QHash>
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

QStringList designFaces(const QString& family)
{
    // Windows' own faces first, then their metric twins on Linux (Debian's fonts-liberation2).
    // "MS Sans Serif" and "Courier" are bitmap faces on Windows, which do not scale and lack
    // Czech letters at many sizes: Arial has the closest metrics to the first, "Courier New" is
    // the scalable second.
    static const QHash<QString, QStringList> faces = {
        {QStringLiteral("MS Sans Serif"),
         {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}},
        {QStringLiteral("Arial"), {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}},
        {QStringLiteral("Times New Roman"),
         {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")}},
        {QStringLiteral("Courier"),
         {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")}},
    };
    Q_ASSERT(faces.contains(family));
    return faces.value(family, {family});
}

QFont designFont(const QString& family, double pointSize, bool bold, bool underline)
{
    QFont font;
    font.setFamilies(designFaces(family));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace voltmetr
