#include "classoverview.h"

#include "app/oledate.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace voltmetr::teacher {

namespace {

constexpr int ChartWidth = 720;
constexpr int LabelWidth = 230; // the pupils' names and the causes' names left of the bars
constexpr int BarArea = 390;
constexpr int RowHeight = 22;
constexpr std::ptrdiff_t PupilsPerChart = 40; // a chart as wide as an A4 page and as high

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString number(double value)
{
    return QString::number(value, 'f', 1);
}

QString shareColour(double share)
{
    return shareBandColour(shareBand(share));
}

// The colours' meaning and the right share's, under the table and above the charts.
QString shareLegend(const QLocale& locale)
{
    QString html = QStringLiteral("<p class=\"m\">%1</p>\n<p class=\"k\">Barvy úspěšnosti:")
                       .arg(esc(rightShareDefinition()));
    for (const ShareBand band : {ShareBand::Good, ShareBand::Middle, ShareBand::Weak}) {
        html += QStringLiteral(" <span><b style=\"color:%1\">■</b> %2</span>")
                    .arg(shareBandColour(band), esc(shareBandText(band, locale)));
    }
    return html + QStringLiteral("</p>\n");
}

// A chart's drawing is whole in itself, its look included, so that it is the same inline on the
// page and drawn alone on paper.
const char* const chartStyle =
    "svg text { font-family: 'Liberation Sans', Arial, sans-serif; font-size: 12px; fill: #222; }"
    " svg .h { font-size: 15px; font-weight: bold; } svg .l { text-anchor: end; }"
    " svg .a { text-anchor: middle; fill: #555; } svg .g { stroke: #ddd; }"
    " svg .p { fill: none; stroke: #1565c0; stroke-width: 2; }";

// A chart ChartWidth wide and height high, with its caption as its name and on top.
QString svgOpening(const QString& caption, int height)
{
    return QStringLiteral("<svg role=\"img\" width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\">"
                          "<title>%3</title><style>%4</style>"
                          "<text x=\"0\" y=\"18\" class=\"h\">%3</text>")
        .arg(ChartWidth)
        .arg(height)
        .arg(esc(caption), QString::fromLatin1(chartStyle));
}

struct Bar
{
    QString label;
    double value = 0; // 0..1 of the bar area
    QString valueText;
    QString colour;
};

// Horizontal bars, one row each; with percentGrid, lines at every quarter of 100 %.
QString barChart(const QString& caption, const std::vector<Bar>& bars, bool percentGrid,
                 const QLocale& locale)
{
    const int top = 28;
    const int height = top + static_cast<int>(bars.size()) * RowHeight + 24;
    QString svg = svgOpening(caption, height);
    if (percentGrid) {
        for (int quarter = 0; quarter <= 4; ++quarter) {
            const double x = LabelWidth + BarArea * quarter / 4.0;
            svg += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%1\" y2=\"%3\" class=\"g\"/>"
                                  "<text x=\"%1\" y=\"%4\" class=\"a\">%5</text>")
                       .arg(number(x))
                       .arg(top)
                       .arg(height - 20)
                       .arg(height - 6)
                       .arg(percentText(quarter / 4.0, locale)
                                .replace(QStringLiteral(",0"), QString()));
        }
    }
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const Bar& bar = bars[i];
        const int y = top + static_cast<int>(i) * RowHeight;
        const double width = std::clamp(bar.value, 0.0, 1.0) * BarArea;
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" class=\"l\">%3</text>"
                              "<rect x=\"%4\" y=\"%5\" width=\"%6\" height=\"%7\" fill=\"%8\"/>"
                              "<text x=\"%9\" y=\"%2\" class=\"v\">%10</text>")
                   .arg(LabelWidth - 8)
                   .arg(y + 15)
                   .arg(esc(bar.label))
                   .arg(LabelWidth)
                   .arg(y + 3)
                   .arg(number(width))
                   .arg(RowHeight - 6)
                   .arg(bar.colour)
                   .arg(number(LabelWidth + width + 6))
                   .arg(esc(bar.valueText));
    }
    return svg + QStringLiteral("</svg>");
}

// The share of right answers on each day the class practised, joined by a line.
QString progressChart(const std::map<double, Share>& byDate, const QLocale& locale)
{
    const QString caption = QStringLiteral("Úspěšnost třídy po dnech");
    const int left = 60;
    const int top = 30;
    const int plotWidth = ChartWidth - left - 30;
    const int plotHeight = 200;
    QString svg = svgOpening(caption, top + plotHeight + 40);
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const double y = top + plotHeight * (1 - quarter / 4.0);
        svg +=
            QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" class=\"g\"/>"
                           "<text x=\"%4\" y=\"%5\" class=\"l\">%6</text>")
                .arg(left)
                .arg(number(y))
                .arg(left + plotWidth)
                .arg(left - 6)
                .arg(number(y + 4))
                .arg(percentText(quarter / 4.0, locale).replace(QStringLiteral(",0"), QString()));
    }
    std::vector<std::pair<double, double>> days; // date, share
    for (const auto& [date, share] : byDate) {
        if (const std::optional<double> right = share.rightShare()) {
            days.emplace_back(date, *right);
        }
    }
    if (days.empty()) {
        return svg + QStringLiteral("</svg>");
    }
    const double first = days.front().first;
    const double span = std::max(1.0, days.back().first - first);
    const auto xOf = [&](double date) { return left + plotWidth * (date - first) / span; };
    QStringList points;
    // Every day's dot, but a date under only so many of them that the labels do not overlap.
    const std::size_t labelEvery = std::max<std::size_t>(1, (days.size() + 9) / 10);
    for (std::size_t i = 0; i < days.size(); ++i) {
        const auto& [date, share] = days[i];
        const double x = xOf(date);
        const double y = top + plotHeight * (1 - share);
        points << number(x) + u',' + number(y);
        svg += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"4\" fill=\"%3\"/>")
                   .arg(number(x), number(y), shareColour(share));
        if (i % labelEvery == 0 || i + 1 == days.size()) {
            svg += QStringLiteral("<text x=\"%1\" y=\"%2\" class=\"a\">%3</text>")
                       .arg(number(x))
                       .arg(top + plotHeight + 18)
                       .arg(fromOleDate(date).date().toString(QStringLiteral("d. M.")));
        }
    }
    svg += QStringLiteral("<polyline points=\"%1\" class=\"p\"/>").arg(points.join(u' '));
    return svg + QStringLiteral("</svg>");
}

QString pupilTable(const ClassStatistics& statistics, const QLocale& locale)
{
    QString html =
        QStringLiteral("<table width=\"100%\"><thead><tr><th>Příjmení</th><th>Třída</th>");
    for (const QString& heading : tallyHeadings()) {
        html += QStringLiteral("<th>%1</th>").arg(esc(heading));
    }
    html += QStringLiteral("</tr></thead><tbody>\n");
    const auto row = [&](const QString& surname, const QString& pupilClass, const Tally& tally,
                         bool total) {
        html += total ? QStringLiteral("<tr class=\"t\">") : QStringLiteral("<tr>");
        html += QStringLiteral("<td>%1</td><td>%2</td>").arg(esc(surname), esc(pupilClass));
        for (const QString& cell : tallyCells(tally, locale)) {
            html += QStringLiteral("<td class=\"n\">%1</td>").arg(esc(cell));
        }
        html += QStringLiteral("</tr>\n");
    };
    for (const PupilTally& pupil : statistics.pupils) {
        if (pupil.tally.neverPractised()) {
            html += QStringLiteral("<tr class=\"x\"><td>%1</td><td>%2</td><td colspan=\"%3\">%4"
                                   "</td></tr>\n")
                        .arg(esc(pupil.surname), esc(pupil.pupilClass))
                        .arg(tallyHeadings().size())
                        .arg(neverPractisedMark());
        } else {
            row(pupil.surname, pupil.pupilClass, pupil.tally, false);
        }
    }
    for (const auto& [pupilClass, tally] : statistics.classes) {
        row(QStringLiteral("Třída celkem"), pupilClass, tally, true);
    }
    return html + QStringLiteral("</tbody></table>\n");
}

// The table takes the page's width and breaks its headings rather than run off the right edge,
// down to a window 800 pixels wide and an A4 sheet upright; the charts shrink with it.
const char* const style = R"(
body { font-family: "Liberation Sans", Arial, sans-serif; margin: 24px; color: #222; }
h1 { font-size: 22px; margin: 0 0 4px; } p.m { color: #555; margin: 0 0 16px; }
table { border-collapse: collapse; font-size: 12px; margin-bottom: 12px; width: 100%;
        table-layout: fixed; }
th, td { border: 1px solid #ccc; padding: 3px 4px; overflow-wrap: anywhere; }
th { background: #eee; font-size: 11px; padding: 3px 2px; }
th:nth-child(1) { width: 16%; } th:nth-child(2) { width: 6%; } th { width: 9.5%; }
th:nth-child(n+8) { width: 5%; } p.m + p.m { margin-top: -10px; }
td.n { text-align: right; } tr.t td { font-weight: bold; background: #f6f6f6; }
tr.x td { color: #c62828; font-style: italic; }
p.k span { margin-left: 14px; white-space: nowrap; }
* { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
figure { margin: 0 0 20px; page-break-inside: avoid; max-width: 100%; }
svg { max-width: 100%; height: auto; }
@page { size: A4 portrait; margin: 12mm; }
@media print { body { margin: 0; } thead { display: table-header-group; }
               tr { page-break-inside: avoid; } }
.charts { display: flex; flex-wrap: wrap; gap: 0 40px; }
)";

} // namespace

QString classOverviewTitle(const QString& pupilClass, const Period& period)
{
    QString title = pupilClass.isEmpty() ? QStringLiteral("Přehled všech tříd")
                                         : QStringLiteral("Přehled třídy %1").arg(pupilClass);
    if (!period.whole()) {
        title += QStringLiteral(", ") + periodText(period);
    }
    return title;
}

ClassOverview classOverview(const ClassStatistics& statistics, const QString& title,
                            const QDate& made, const QLocale& locale)
{
    ClassOverview overview;
    overview.title = title;
    QString practised;
    if (!statistics.byDate.empty()) {
        practised = QStringLiteral("Cvičení %1. ")
                        .arg(periodText({fromOleDate(statistics.byDate.begin()->first).date(),
                                         fromOleDate(statistics.byDate.rbegin()->first).date()}));
    }
    overview.summary =
        QStringLiteral("<p class=\"m\">%1Sestaveno %2.%3</p>\n")
            .arg(practised, dayText(made),
                 statistics.taskLogPresent
                     ? QString()
                     : QStringLiteral(" Databáze nemá záznam úloh: chyby podle druhu, "
                                      "zničené měřáky a čas na úlohu nejsou známy."));
    overview.table = pupilTable(statistics, locale);
    overview.legends = QStringLiteral("<p class=\"m\">%1</p>\n").arg(esc(mistakeColumnsLegend())) +
                       shareLegend(locale);

    std::vector<Bar> pupils;
    for (const PupilTally& pupil : statistics.pupils) {
        const std::optional<double> share = pupil.tally.rightShare();
        const QString noShare =
            pupil.tally.neverPractised() ? neverPractisedMark() : QStringLiteral("bez odpovědí");
        pupils.push_back({pupil.surname + QStringLiteral(" (") + pupil.pupilClass + u')',
                          share.value_or(0), share ? percentText(*share, locale) : noShare,
                          shareColour(share.value_or(0))});
    }
    // A school's pupils in charts of a page each, every one with its axis.
    const auto listed = static_cast<std::ptrdiff_t>(pupils.size());
    for (std::ptrdiff_t first = 0; first == 0 || first < listed; first += PupilsPerChart) {
        const std::ptrdiff_t last = std::min(listed, first + PupilsPerChart);
        overview.pupilCharts << barChart(
            listed <= PupilsPerChart
                ? QStringLiteral("Úspěšnost žáků")
                : QStringLiteral("Úspěšnost žáků %1–%2 z %3").arg(first + 1).arg(last).arg(listed),
            std::vector<Bar>(pupils.begin() + first, pupils.begin() + last), true, locale);
    }
    overview.charts << progressChart(statistics.byDate, locale);

    std::vector<Bar> kinds;
    const qint64 most = std::max<qint64>(
        1, *std::max_element(statistics.all.mistakes.begin(), statistics.all.mistakes.end()));
    for (int kind = 1; kind <= MistakeKindCount; ++kind) {
        const qint64 count = statistics.all.mistakes[static_cast<std::size_t>(kind) - 1];
        kinds.push_back({mistakeKindName(static_cast<MistakeKind>(kind)),
                         static_cast<double>(count) / static_cast<double>(most),
                         QString::number(count), QStringLiteral("#6a1b9a")});
    }
    overview.charts << barChart(QStringLiteral("Chybné odpovědi podle pravděpodobné příčiny"),
                                kinds, false, locale);

    std::vector<Bar> meters;
    for (const auto& [divisions, share] : statistics.byMeter) {
        const double right = share.rightShare().value_or(0); // a meter is listed once judged
        meters.push_back({QStringLiteral("%1 dílků").arg(divisions), right,
                          percentText(right, locale) + QStringLiteral(" z %1").arg(share.all),
                          shareColour(right)});
    }
    overview.charts << barChart(QStringLiteral("Úspěšnost podle měřáku (dílků stupnice)"), meters,
                                true, locale);
    if (statistics.all.neverPractised()) {
        overview.chartsNote =
            QStringLiteral("<p class=\"m\">Nikdo z žáků zatím necvičil, grafy jsou prázdné.</p>\n");
    } else if (statistics.taskLogPresent && statistics.all.tasks == 0) {
        overview.chartsNote = QStringLiteral(
            "<p class=\"m\">Chyby podle příčiny a úspěšnost podle měřáku se počítají "
            "z jednotlivých úloh; žádný z těchto běhů je nezapsal (výsledky ze zpráv e-mailem "
            "úlohy nenesou).</p>\n");
    }
    return overview;
}

QString classOverviewHtml(const ClassOverview& overview)
{
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"cs\"><head><meta charset=\"utf-8\">"
                       "<title>%1</title><style>%2</style></head><body>\n<h1>%1</h1>\n")
            .arg(esc(overview.title), QString::fromUtf8(style));
    html += overview.summary + overview.table + overview.legends;
    // The pupils' chart beside the other three where the window is wide enough.
    const auto figure = [](const QString& chart) {
        return QStringLiteral("<figure>%1</figure>\n").arg(chart);
    };
    html += QStringLiteral("<div class=\"charts\">\n<div>\n");
    for (const QString& chart : overview.pupilCharts) {
        html += figure(chart);
    }
    html += QStringLiteral("</div>\n<div>\n");
    for (const QString& chart : overview.charts) {
        html += figure(chart);
    }
    return html + overview.chartsNote + QStringLiteral("</div></div>\n</body></html>\n");
}

} // namespace voltmetr::teacher
