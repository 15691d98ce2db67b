#include "views/logic/panel_layout.h"

#include <gtest/gtest.h>

namespace zt {

void PrintTo(const PanelRect& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}
void PrintTo(const PanelPoint& p, std::ostream* os) {
    *os << "{" << p.left << ", " << p.top << "}";
}

namespace {

struct ChannelLayoutCase {
    const char* what;
    bool upright;
    int width, height, button;
    std::array<PanelRect, 3> buttons;
    PanelRect area;
};

TEST(ChannelPanelLayout, ButtonsAndAreaForBothOrientations) {
    const ChannelLayoutCase cases[] = {
        // Upright and wide: "Выбор" and "Все каналы" at the right edge.
        {"upright wide",
         true,
         160,
         250,
         24,
         {{{2, 2, 24, 24}, {105, 2, 24, 24}, {131, 2, 24, 24}}},
         {2, 28, 153, 217}},
        // Upright and narrower than three buttons + 12: all three in a row at the left.
        {"upright narrow",
         true,
         80,
         250,
         24,
         {{{2, 2, 24, 24}, {28, 2, 24, 24}, {54, 2, 24, 24}}},
         {2, 28, 73, 217}},
        // Exactly three buttons + 12 wide counts as wide.
        {"upright boundary",
         true,
         84,
         100,
         24,
         {{{2, 2, 24, 24}, {29, 2, 24, 24}, {55, 2, 24, 24}}},
         {2, 28, 77, 67}},
        // Lying flat and high enough: the two at the bottom.
        {"flat high",
         false,
         400,
         120,
         24,
         {{{2, 2, 24, 24}, {2, 64, 24, 24}, {2, 90, 24, 24}}},
         {28, 2, 367, 112}},
        // Lying flat and low: a column from the top.
        {"flat low",
         false,
         400,
         70,
         40,
         {{{2, 2, 40, 40}, {2, 44, 40, 40}, {2, 86, 40, 40}}},
         {44, 2, 351, 62}},
        // Smaller than its own buttons: the area is empty, never negative.
        {"tiny",
         true,
         5,
         5,
         24,
         {{{2, 2, 24, 24}, {28, 2, 24, 24}, {54, 2, 24, 24}}},
         {2, 28, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto g = channel_panel_layout(c.upright, c.width, c.height, c.button);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(g.buttons[i], c.buttons[i]) << i;
        EXPECT_EQ(g.area, c.area);
    }
}

TEST(GridPositions, FillsRowsFromTheLeft) {
    // 16-pixel logos: pitch 26; (64 - 6) / 26 = 2 columns.
    const auto p = grid_positions(5, 64, 26, 26);
    const std::vector<PanelPoint> expected{{2, 2}, {28, 2}, {2, 28}, {28, 28}, {2, 54}};
    EXPECT_EQ(p, expected);
    EXPECT_EQ(grid_height(5, 64, 26, 26, 24), 54 + 24 + 2);
}

TEST(GridPositions, TooNarrowForOneColumnGivesOneButtonPerRow) {
    const auto p = grid_positions(3, 20, 26, 26);
    const std::vector<PanelPoint> expected{{2, 2}, {2, 28}, {2, 54}};
    EXPECT_EQ(p, expected);
    EXPECT_TRUE(grid_positions(0, 200, 26, 26).empty());
    EXPECT_EQ(grid_height(0, 200, 26, 26, 24), 0);
}

TEST(GenreButtons, DetailedAndCompactSizes) {
    // Detailed 16: 95 wide (the design size), pitch 97; compact 24 wide, pitch 26.
    EXPECT_EQ(genre_button_width(true, 16), 95);
    EXPECT_EQ(genre_column_pitch(true, 16), 97);
    EXPECT_EQ(genre_button_width(false, 32), 40);
    EXPECT_EQ(genre_column_pitch(false, 32), 42);
    EXPECT_EQ(genre_button_height(24), 32);
    // A 200-pixel panel holds two detailed columns at 16 and one at 32 (3·32 + 49 = 145).
    EXPECT_EQ(grid_positions(3, 200, genre_column_pitch(true, 16), 26)[1].left, 99);
    EXPECT_EQ(grid_positions(3, 200, genre_column_pitch(true, 32), 42)[1].top, 44);
}

TEST(PanelFontAndWheel, FollowTheIconSizeAndWheelStep) {
    EXPECT_EQ(panel_font_size(8, 16), 8);
    EXPECT_EQ(panel_font_size(8, 24), 10);
    EXPECT_EQ(panel_font_size(8, 32), 12);
    EXPECT_EQ(panel_font_size(8, 17), 8);
    // One notch (120) down moves the view up by 120 / step pixels; a zero step never divides.
    EXPECT_EQ(wheel_scroll_delta(120, 20), -6);
    EXPECT_EQ(wheel_scroll_delta(-120, 2), 60);
    EXPECT_EQ(wheel_scroll_delta(120, 0), 0);
}

}  // namespace
}  // namespace zt
