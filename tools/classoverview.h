#pragma once

#include "taskstatistics.h"

#include <QDate>
#include <QLocale>
#include <QString>

namespace voltmetr::teacher {

// The class overview as one self-contained HTML page: the table of every pupil and four
// charts drawn here as inline SVG (right share per pupil, progress over the dates, mistakes by
// kind, success per meter). It loads nothing and runs no script, so it opens the same from a
// USB stick, an e-mail or a school's offline computer, and prints as it shows.
QString classOverviewHtml(const ClassStatistics& statistics, const QString& title,
                          const QDate& made, const QLocale& locale);

} // namespace voltmetr::teacher
