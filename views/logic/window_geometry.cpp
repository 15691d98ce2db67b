#include "views/logic/window_geometry.h"

#include <algorithm>

namespace zt {

Geometry clamp_window_geometry(const MainWindowSettings& window, const WorkArea& area) {
    const MainWindowSettings defaults;
    Geometry g{window.width, window.height, window.top, window.left};
    // A size that no window can have (a damaged file) is the first-start size.
    if (g.width <= 0) g.width = defaults.width;
    if (g.height <= 0) g.height = defaults.height;
    const long right = long(area.left) + area.width;
    const long bottom = long(area.top) + area.height;
    if (g.left > right - 20 || g.left < area.left) g.left = area.left;
    if (g.top > bottom - 20 || g.top < area.top) g.top = area.top;
    if (long(g.left) + g.width > right) {
        g.left = area.left;
        // On a work area narrower than the first-start size the window takes the whole width.
        g.width = std::min(defaults.width, std::max(area.width, 1));
    }
    if (long(g.top) + g.height > bottom) {
        g.top = area.top;
        g.height = std::min(defaults.height, std::max(area.height, 1));
    }
    return g;
}

std::optional<WindowState> restored_window_state(int stored) {
    if (stored == 0 || stored == 1) return WindowState::normal;
    if (stored == 2) return WindowState::maximized;
    return std::nullopt;
}

Geometry move_onto_area(const Geometry& window, const WorkArea& area) {
    Geometry g = window;
    const long right = long(area.left) + area.width;
    const long bottom = long(area.top) + area.height;
    if (long(g.left) + g.width > right) g.left = int(right - g.width);
    if (g.left < area.left) g.left = area.left;
    if (long(g.top) + g.height > bottom) g.top = int(bottom - g.height);
    if (g.top < area.top) g.top = area.top;
    return g;
}

}  // namespace zt
