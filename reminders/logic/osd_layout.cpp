#include "reminders/logic/osd_layout.h"

#include <algorithm>

namespace zt {

namespace {

// Offset of an item of `size` placed at 0, the middle or the end of `room` (may be negative:
// the item is then as large as the room, since the size was cut to it).
int place(int choice, int room, int size) {
    switch (choice) {
        case 1:
            return (room - size) / 2;
        case 2:
            return room - size;
        default:
            return 0;
    }
}

}  // namespace

OsdLayout osd_layout(const OsdSizes& s, const QRect& area, int pos1, int pos2) {
    const int a = s.frame.width(), b = s.frame.height();
    const int c = s.text1.width(), d = s.text1.height();
    const int e = s.genre.width(), f = s.genre.height();
    const int g = s.text2.width(), h = s.text2.height();
    OsdLayout out;

    // Row one: the frame at the left, the text beside it; the lower one centred on the other.
    int frame_top = 5, text1_top = 5;
    if (d < b)
        text1_top = 5 + (b - d) / 2;
    else
        frame_top = 5 + (d - b) / 2;
    out.frame = QRect(5, frame_top, a, b);
    out.text1 = QRect(a + 10, text1_top, c, d);
    out.logo = out.frame.adjusted(1, 1, -1, -1);

    // Row two: the genre icon centred under the frame, the second text beside it.
    const int row2 = 10 + std::max(b, d);
    int genre_top = row2, text2_top = row2;
    if (h < f)
        text2_top = row2 + (f - h) / 2;
    else
        genre_top = row2 + (h - f) / 2;
    out.genre = QRect(5 + (a - e) / 2, genre_top, e, f);
    out.text2 = QRect(a + 10, text2_top, g, h);

    const int width = std::min(a + 10 + std::max(c, g) + 5, area.width());
    const int height = std::min(std::max(b, d) + 15 + std::max(f, h), area.height() / 4);
    out.size = QSize(width, height);
    out.origin = QPoint(area.left() + place(pos1, area.width(), width),
                        area.top() + place(pos2, area.height(), height));
    return out;
}

int osd_font_points(int size) {
    switch (size) {
        case 1:
            return 20;
        case 2:
            return 30;
        default:
            return 12;
    }
}

int osd_font_pixels(int size) {
    switch (size) {
        case 1:
            return 33;
        case 2:
            return 48;
        default:
            return 20;
    }
}

}  // namespace zt
