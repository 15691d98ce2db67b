#pragma once

#include <QImage>
#include <functional>

#include "print/logic/print_lines.h"

class QPainter;

namespace zt::print {

// The genre pictures: index 0 is the picture of the page header, a family number (1..8) the
// family's icon; `colour` picks the colour or the monochrome set. A null image draws nothing.
using PrintIcons = std::function<QImage(int index, bool colour)>;

// Everything one page needs besides the painter.
struct PageSource final {
    const PrintLines& lines;
    const PrintOptions& options;
    const PrintContext& context;
    const PrintMetrics& metrics;
    PrintIcons icons;
};

// A date in the short date format of the program's locale (Russian: the program sets it at start).
QString locale_short_date(DateTime v);

// The printer's document name for a window title: the title without its closing dots, so the
// file name offered for printing to a file reads "ЗОРВАН. Телепрограмма.pdf", not "...ма..pdf".
QString document_name(const QString& window_title);

// The header text right of the picture, and the period with the page number.
QString header_title(const PrintContext& context);
QString header_period(const PrintContext& context, const PrintOptions& options, int page,
                      int pages);

// DrawPageHeader and DrawPageLines of page `page` (from 1) of `pages` onto any surface whose
// resolution the metrics were made for: an image of the preview, a PDF or a printer page.
void DrawPageHeader(QPainter& painter, const PageSource& source, int page, int pages);
void DrawPageLines(QPainter& painter, const PageSource& source, int page);
void DrawPage(QPainter& painter, const PageSource& source, int page, int pages);

// A page as an image of w × h pixels at `dpi` (the preview).
QImage RenderPageImage(const PageSource& source, int page, int pages, int w, int h);

}  // namespace zt::print
