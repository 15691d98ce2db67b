#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "print/logic/print_paint.h"

namespace zt::print {

struct PdfResult final {
    bool ok = false;
    int pages = 0;
    QStringList corrections;  // settings the layout had to correct
    QString error;
};

// Lays the rows out on landscape A4 pages at `dpi` and writes them to a PDF file with
// selectable text. The PDF goes to a temporary file beside `path` that replaces it only once
// complete.
PdfResult write_print_pdf(const QString& path, const std::vector<PrintRow>& rows,
                          const PrintOptions& options, const PrintContext& context, int dpi,
                          const PrintIcons& icons = {});

}  // namespace zt::print
