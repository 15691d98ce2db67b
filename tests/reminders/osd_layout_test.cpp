#include <gtest/gtest.h>

#include "reminders/logic/osd_layout.h"

namespace zt {
namespace {

struct LayoutCase {
    const char* name;
    QSize text1, text2;
    QRect area;
    int pos1, pos2;
    QRect want_frame, want_text1, want_genre, want_text2;
    QSize want_size;
    QPoint want_origin;
};

// Frame 34 × 34 and genre icon 32 × 32 throughout, as both outputs use them.
const LayoutCase kCases[] = {
    // Small text (lower than the frame and icon): each text is centred on its row's image;
    // the width follows the wider text, the height is 34 + 15 + 32.
    {"small_text_bottom_right",
     {200, 19},
     {350, 19},
     {0, 0, 1920, 1040},
     2,
     2,
     {5, 5, 34, 34},
     {44, 12, 200, 19},
     {6, 44, 32, 32},
     {44, 50, 350, 19},
     {399, 81},
     {1521, 959}},
    // Large text (higher than the images): the images are centred on the texts, the rows
    // follow the text height.
    {"large_text_top_left",
     {300, 50},
     {120, 50},
     {0, 0, 1920, 1040},
     0,
     0,
     {5, 13, 34, 34},
     {44, 5, 300, 50},
     {6, 69, 32, 32},
     {44, 60, 120, 50},
     {349, 115},
     {0, 0}},
    // Centred on a second monitor's work area that does not start at 0: halves truncate.
    {"centred_on_second_monitor",
     {101, 20},
     {60, 20},
     {1920, 30, 1281, 996},
     1,
     1,
     {5, 5, 34, 34},
     {44, 12, 101, 20},
     {6, 44, 32, 32},
     {44, 50, 60, 20},
     {150, 81},
     {1920 + 565, 30 + 457}},
    // A title wider than the area is cut to its width; the height never exceeds a quarter.
    {"cut_to_the_area",
     {200, 60},
     {5000, 60},
     {0, 0, 800, 200},
     2,
     2,
     {5, 18, 34, 34},
     {44, 5, 200, 60},
     {6, 84, 32, 32},
     {44, 70, 5000, 60},
     {800, 50},
     {0, 150}},
};

TEST(OsdLayoutTest, PlacesTheFiveRectanglesAndTheWindow) {
    for (const LayoutCase& c : kCases) {
        SCOPED_TRACE(c.name);
        OsdSizes sizes;
        sizes.text1 = c.text1;
        sizes.text2 = c.text2;
        const OsdLayout got = osd_layout(sizes, c.area, c.pos1, c.pos2);
        EXPECT_EQ(got.frame, c.want_frame);
        EXPECT_EQ(got.logo, c.want_frame.adjusted(1, 1, -1, -1));
        EXPECT_EQ(got.text1, c.want_text1);
        EXPECT_EQ(got.genre, c.want_genre);
        EXPECT_EQ(got.text2, c.want_text2);
        EXPECT_EQ(got.size, c.want_size);
        EXPECT_EQ(got.origin, c.want_origin);
    }
}

TEST(OsdLayoutTest, TextSizesOfTheThreeChoices) {
    const int points[] = {12, 20, 30, 12};
    const int pixels[] = {20, 33, 48, 20};
    for (int size = 0; size < 4; ++size) {
        EXPECT_EQ(osd_font_points(size), points[size]) << size;
        EXPECT_EQ(osd_font_pixels(size), pixels[size]) << size;
    }
}

}  // namespace
}  // namespace zt
