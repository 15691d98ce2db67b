#pragma once

#include <QRect>
#include <QSize>

namespace zt {

// The on-screen display's five rectangles, relative to its own top-left corner, its size and
// its place on the screen.
struct OsdLayout final {
    QRect frame;    // F: the white square behind the logo
    QRect logo;     // L: the channel logo, F shrunk by one pixel on every side
    QRect text1;    // T1: the channel caption
    QRect genre;    // G: the genre icon
    QRect text2;    // T2: start time and title
    QSize size;     // W × H, cut to the area's width and a quarter of its height
    QPoint origin;  // X, Y: the top-left corner on the screen
    bool operator==(const OsdLayout&) const = default;
};

// The sizes the layout arranges: the frame a × b, the measured first text c × d, the genre
// icon e × f and the measured second text g × h.
struct OsdSizes final {
    QSize frame{34, 34};
    QSize text1;
    QSize genre{32, 32};
    QSize text2;
};

// Row one holds the frame and the first text, row two the genre icon and the second text;
// the lower item of each row is centred on the higher one (halves truncated towards zero).
// `area` is where the display may go (a monitor's work area, or the whole primary display for
// the overlay); `pos1` 0 left, 1 centre, 2 right and `pos2` 0 top, 1 middle, 2 bottom place it
// there. Other values of `pos1`/`pos2` keep the left or top edge.
OsdLayout osd_layout(const OsdSizes& sizes, const QRect& area, int pos1, int pos2);

// The text size of "Размер:" (0 "Малый", 1 "Средний", 2 "Большой"; others count as 0): points
// of the window output and pixel heights of the overlay output.
int osd_font_points(int size);
int osd_font_pixels(int size);

}  // namespace zt
