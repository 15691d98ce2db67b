#pragma once

#include <optional>

#include "storage/settings_layout.h"

namespace zt {

// Where the main window goes on the desktop: arithmetic on the stored [WM] values and the
// monitors' work areas, without windows.

// A monitor's work area in desktop coordinates.
struct WorkArea final {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The main window's geometry as restored from [WM] on the given work area: a window placed
// beyond the area's right or bottom edge (less than 20 pixels left visible) or before its
// left or top edge starts at that edge; one wider or taller than the area is set back to
// 800 × 570 at the edge.
Geometry clamp_window_geometry(const MainWindowSettings& window, const WorkArea& area);

enum class WindowState { normal, maximized };
// The state restored from [WM] S: 0 or 1 normal, 2 maximised, anything else unchanged.
std::optional<WindowState> restored_window_state(int stored);

// Moves (never resizes) a window so that it lies on the work area as far as its size allows.
Geometry move_onto_area(const Geometry& window, const WorkArea& area);

}  // namespace zt
