#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <vector>

#include "print/logic/print_paint.h"

namespace zt::print {

struct PdfResult final {
    bool ok = false;
    bool cancelled = false;  // the user cancelled; nothing was written
    int pages = 0;
    QStringList corrections;  // settings the layout had to correct
    QString error;
};

// What a PDF run prints: the page (size and orientation; the layout's own margins apply) at
// `dpi`, the pages `from`..`to` (corrected as the print window corrects its range; `to` 0 is the
// last page) and the number of copies.
struct PdfJob final {
    QPageLayout page{QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()};
    int dpi = 300;
    int from = 1;
    int to = 0;
    int copies = 1;
    QString creator = QStringLiteral("zorvan-cli");
};

// Lays the rows out on the job's pages and writes them to a PDF file with selectable text. The
// PDF is made in memory and goes to a temporary file beside `path` that replaces it only once
// complete. Progress: the layout up to 50 %, the pages after it; a cancel between rows or pages
// stops the run and leaves `path` as it was.
PdfResult write_print_pdf(const QString& path, const std::vector<PrintRow>& rows,
                          const PrintOptions& options, const PrintContext& context,
                          const PdfJob& job, const PrintIcons& icons = {},
                          Progress* progress = nullptr);

// Landscape A4 at `dpi`, every page once.
PdfResult write_print_pdf(const QString& path, const std::vector<PrintRow>& rows,
                          const PrintOptions& options, const PrintContext& context, int dpi,
                          const PrintIcons& icons = {});

}  // namespace zt::print
