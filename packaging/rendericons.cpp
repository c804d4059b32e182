// Renders the program's one SVG icon into the PNG sizes of the desktop's icon theme, so that
// menus and docks that take no SVG show the same drawing, sharp at every size.
//
// Usage: voltmetr_rendericons ICON.svg FOLDER NAME SIZE...  writes FOLDER/SIZExSIZE/NAME.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTextStream>

int main(int argc, char** argv)
{
    // The icon's lettering needs the fonts of a GUI application, not a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (arguments.size() < 5) {
        err << "usage: voltmetr_rendericons ICON.svg FOLDER NAME SIZE...\n";
        return 2;
    }
    const QString& svg = arguments[1];
    const QDir folder(arguments[2]);
    const QString& iconName = arguments[3];
    for (const QString& sizeText : arguments.mid(4)) {
        bool isNumber = false;
        const int size = sizeText.toInt(&isNumber);
        if (!isNumber || size <= 0) {
            err << "not a size: " << sizeText << '\n';
            return 2;
        }
        QImageReader reader(svg, "svg");
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        if (image.isNull() || image.size() != QSize(size, size)) {
            err << svg << ": " << reader.errorString() << '\n';
            return 1;
        }
        const QString name = QStringLiteral("%1x%1/%2.png").arg(size).arg(iconName);
        if (!folder.mkpath(QStringLiteral("%1x%1").arg(size)) ||
            !image.save(folder.filePath(name), "PNG")) {
            err << "cannot write " << folder.filePath(name) << '\n';
            return 1;
        }
    }
    return 0;
}
