#include "views/logic/window_geometry.h"

#include <gtest/gtest.h>

namespace zt {
namespace {

TEST(WindowGeometry, IsBroughtBackOntoTheWorkArea) {
    struct Case {
        MainWindowSettings stored;
        WorkArea area;
        Geometry expected;  // width, height, top, left
    };
    const Case cases[] = {
        // left 5000 comes back to the left edge
        {{800, 570, 10, 5000, 0}, {0, 0, 1920, 1050}, {800, 570, 10, 0}},
        // wider than the work area: width 800 at the edge
        {{2500, 570, 10, 30, 0}, {0, 0, 1920, 1050}, {800, 570, 10, 0}},
        // taller than the work area: height 570 at the top
        {{800, 1200, 40, 30, 0}, {0, 0, 1920, 1050}, {800, 570, 0, 30}},
        // less than 20 pixels visible on the right or bottom counts as outside
        {{300, 200, 1040, 1910, 0}, {0, 0, 1920, 1050}, {300, 200, 0, 0}},
        // inside: unchanged
        {{640, 480, 100, 200, 0}, {0, 0, 1920, 1050}, {640, 480, 100, 200}},
        // a work area that does not start at 0 (a second monitor, a panel on the left)
        {{800, 570, -50, 10, 0}, {1920, 30, 1280, 994}, {800, 570, 30, 1920}},
        {{800, 570, 100, 2100, 0}, {1920, 30, 1280, 994}, {800, 570, 100, 2100}},
        {{800, 570, 100, 2500, 0}, {1920, 30, 1280, 994}, {800, 570, 100, 1920}},
        // a damaged size, and a work area smaller than the first-start size
        {{0, -5, 0, 0, 0}, {0, 0, 1920, 1050}, {800, 570, 0, 0}},
        {{1000, 700, 0, 0, 0}, {0, 0, 640, 480}, {640, 480, 0, 0}},
    };
    // What a first start shows.
    EXPECT_EQ(clamp_window_geometry(MainWindowSettings{}, {0, 0, 1920, 1050}),
              (Geometry{800, 570, 0, 0}));
    for (const Case& c : cases) {
        EXPECT_EQ(clamp_window_geometry(c.stored, c.area), c.expected)
            << "stored " << c.stored.width << "x" << c.stored.height << " at " << c.stored.left
            << "," << c.stored.top;
    }

    EXPECT_EQ(restored_window_state(0), WindowState::normal);
    EXPECT_EQ(restored_window_state(1), WindowState::normal);
    EXPECT_EQ(restored_window_state(2), WindowState::maximized);
    EXPECT_EQ(restored_window_state(3), std::nullopt);

    // Moving onto a chosen monitor keeps the size.
    EXPECT_EQ(move_onto_area({800, 570, 0, 0}, {1920, 0, 1280, 1024}),
              (Geometry{800, 570, 0, 1920}));
    EXPECT_EQ(move_onto_area({800, 570, 900, 1800}, {1920, 0, 1280, 1024}),
              (Geometry{800, 570, 454, 1920}));
}

}  // namespace
}  // namespace zt
