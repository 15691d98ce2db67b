#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QStringList>

#include "print/logic/print_options.h"

namespace zt::print {

// The page geometry in pixels of one drawing surface (a preview image or a printer page), and
// the print font measured at that surface's resolution.
struct PrintMetrics final {
    int dpi = 96;
    int pen = 1;           // PW: pen width
    QRect area;            // A: the printable area inside the margins
    int gap = 0;           // G: between columns
    int columns = 1;       // N
    int column_width = 1;  // CW
    int line_height = 1;   // LH: also the height of the page header
    int rows = 1;          // R: lines per column
    int space_width = 0;   // the width of " "
    QFont font;            // sized in pixels of this surface
    QFontMetrics fm{QFont()};
    // Settings that could not be honoured and what was done instead (shown to the user).
    QStringList corrections;

    int per_page() const { return rows * columns; }  // P
    int text_width(const QString& text) const { return fm.horizontalAdvance(text); }
};

// A length of 0.1 mm in pixels at `dpi`.
int tenth_mm_to_pixels(int tenths, int dpi);

// The print font with its size in pixels of a `dpi` surface.
QFont print_font(const PrintOptions& options, int dpi);

// SetPrintMetrics for a page of w × h pixels at `dpi`. A column count below 1, margins that
// leave no room on the page and a line height that leaves no row per column are corrected to
// one column, no margins and one row, each noted in `corrections`.
PrintMetrics SetPrintMetrics(const PrintOptions& options, int dpi, int w, int h);

}  // namespace zt::print
