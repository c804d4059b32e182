#pragma once

#include "classoverview.h"

#include <functional>

class QPagedPaintDevice;

namespace voltmetr::teacher {

// Sets the page the overview is made for: A4 upright with margins of 12 mm. A printer's dialog
// starts from it; the teacher may choose another paper there.
void setOverviewPage(QPagedPaintDevice& device);

// The class overview on paper, on the device's pages as they are set: the title, the table
// with its header row on top of every page it runs over, the legends, then the charts, each as
// wide as the page (or as on the screen, when narrower) and moved whole to the next page rather
// than cut. Every page is numbered at its foot. Progress, when given, is told the pages done
// and all the pages once they are laid out and after each page; when it answers false, the
// printing stops there and this returns false.
using PrintProgress = std::function<bool(int done, int pages)>;
bool printClassOverview(const ClassOverview& overview, QPagedPaintDevice& device,
                        const PrintProgress& progress = {});

// What a print stopped by the teacher says: nothing was written to the file, if one is named.
QString printStoppedText(const QString& path);

// The overview as a PDF file on A4 upright, written whole or not at all: nothing when progress
// stops it. Returns an empty text, or the Czech reason naming the file.
QString writeClassOverviewPdf(const ClassOverview& overview, const QString& path,
                              const PrintProgress& progress = {});

} // namespace voltmetr::teacher
