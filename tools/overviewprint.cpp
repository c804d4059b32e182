#include "overviewprint.h"

#include "app/filewrite.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <memory>
#include <vector>

namespace voltmetr::teacher {

namespace {

// The page's look in points, which paper understands; the table's names and thirteen figures
// fit an A4 sheet upright. The cells' borders stay apart: collapsed, Qt's layout draws an empty
// row of them above the header row on every page after the first.
const char* const paperStyle = R"(
h1 { font-size: 15pt; } p.m { color: #555555; }
table { font-size: 8pt; }
th { background-color: #eeeeee; font-size: 7pt; }
th, td { border: 1px solid #bbbbbb; padding: 2px; }
td.n { text-align: right; } tr.t td { font-weight: bold; background-color: #f6f6f6; }
tr.x td { color: #c62828; font-style: italic; }
)";

constexpr double ScreenDpi = 96; // the charts' pixels as a browser shows them
constexpr double GapPoints = 10; // between a chart and what is above it
constexpr double PictureDpi = 150;

struct PlacedChart
{
    int page;
    QRectF place;
};

} // namespace

void setOverviewPage(QPagedPaintDevice& device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
}

bool printClassOverview(const ClassOverview& overview, QPagedPaintDevice& device,
                        const PrintProgress& progress)
{
    const auto goOn = [&](int done, int pages) { return !progress || progress(done, pages); };
    const double dpi = device.logicalDpiY();
    const QSizeF paper(device.width(), device.height()); // within the margins
    QFont font(QStringLiteral("Liberation Sans"), 9);
    const double footer = 2.5 * font.pointSizeF() * dpi / 72;
    const QSizeF page(paper.width(), paper.height() - footer);

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&device);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QString::fromLatin1(paperStyle));
    document.setDocumentMargin(0);
    document.setHtml(QStringLiteral("<h1>%1</h1>").arg(overview.title.toHtmlEscaped()) +
                     overview.summary + overview.table + overview.legends + overview.chartsNote);
    document.setPageSize(page);

    // Where each chart goes: below the text, then below each other, on a new page when it would
    // not fit whole on this one.
    int pages = document.pageCount();
    double y = document.documentLayout()->blockBoundingRect(document.lastBlock()).bottom() -
               (pages - 1) * page.height();
    std::vector<std::unique_ptr<QSvgRenderer>> charts;
    std::vector<PlacedChart> placed;
    for (const QString& chart : overview.pupilCharts + overview.charts) {
        auto& renderer = charts.emplace_back(std::make_unique<QSvgRenderer>(chart.toUtf8()));
        const QSizeF drawn = renderer->defaultSize();
        // A chart of a big class is taller than a page: smaller, but whole.
        const double width = std::min({page.width(), drawn.width() * dpi / ScreenDpi,
                                       page.height() * drawn.width() / drawn.height()});
        const double height = width * drawn.height() / drawn.width();
        y += GapPoints * dpi / 72;
        if (y + height > page.height()) {
            ++pages;
            y = 0;
        }
        placed.push_back({pages - 1, QRectF(0, y, width, height)});
        y += height;
    }

    if (!goOn(0, pages)) {
        return false;
    }
    QPainter painter(&device);
    const int textPages = document.pageCount();
    font.setPointSizeF(7.5);
    for (int index = 0; index < pages; ++index) {
        if (index > 0) {
            device.newPage();
        }
        if (index < textPages) {
            painter.save();
            painter.translate(0, -index * page.height());
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = QRectF(QPointF(0, index * page.height()), page);
            document.documentLayout()->draw(&painter, context);
            painter.restore();
        }
        for (std::size_t i = 0; i < placed.size(); ++i) {
            if (placed[i].page == index) {
                // Drawn as a picture: Qt's PDF writer would draw every letter of a chart as
                // curves, hundreds of kilobytes a page.
                QImage picture((placed[i].place.size() * PictureDpi / dpi).toSize(),
                               QImage::Format_RGB32);
                picture.fill(Qt::white);
                QPainter drawing(&picture);
                drawing.setRenderHint(QPainter::Antialiasing);
                charts[i]->render(&drawing);
                drawing.end();
                painter.drawImage(placed[i].place, picture);
            }
        }
        painter.setFont(font);
        painter.setPen(QColor(0x55, 0x55, 0x55));
        painter.drawText(
            QRectF(0, paper.height() - footer, paper.width(), footer),
            Qt::AlignBottom | Qt::AlignHCenter,
            QStringLiteral("%1 – strana %2 z %3").arg(overview.title).arg(index + 1).arg(pages));
        if (!goOn(index + 1, pages)) {
            return false;
        }
    }
    return true;
}

QString printStoppedText(const QString& path)
{
    return path.isEmpty() ? QStringLiteral("Tisk je zrušen.")
                          : QStringLiteral("Zrušeno; do souboru %1 se nic nezapsalo.").arg(path);
}

QString writeClassOverviewPdf(const ClassOverview& overview, const QString& path,
                              const PrintProgress& progress)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(overview.title);
        writer.setCreator(QStringLiteral("Voltmetr"));
        setOverviewPage(writer);
        if (!printClassOverview(overview, writer, progress)) {
            return printStoppedText(path);
        }
    }
    if (const QString reason = writeWholeFile(path, pdf.data()); !reason.isEmpty()) {
        return QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, reason);
    }
    return {};
}

} // namespace voltmetr::teacher
