#pragma once

#include "taskstatistics.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace voltmetr::teacher {

// The class overview, made once for the page and for paper alike: the table of every pupil, the
// legends, and the charts. The texts are HTML fragments; each chart is an SVG drawing whole in
// itself.
struct ClassOverview
{
    QString title;
    QString summary;         // the dates practised, the day made, a task log missing
    QString table;           // its header row in <thead>, so that paper repeats it on every page
    QString legends;         // the mistakes' columns, the right share's meaning, the colours'
    QStringList pupilCharts; // the right share per pupil, 40 pupils a chart
    QStringList charts;      // the progress, the mistakes by kind, the success per meter
    QString chartsNote;      // why charts are empty, when they are
};

// "Přehled třídy 2.A", or of all classes when pupilClass is empty, with the period when it is not
// every day.
QString classOverviewTitle(const QString& pupilClass, const Period& period);

ClassOverview classOverview(const ClassStatistics& statistics, const QString& title,
                            const QDate& made, const QLocale& locale);

// The overview as one self-contained HTML page with the charts inline. It loads nothing and runs
// no script, so it opens the same from a USB stick, an e-mail or a school's offline computer,
// and prints as it shows.
QString classOverviewHtml(const ClassOverview& overview);

} // namespace voltmetr::teacher
