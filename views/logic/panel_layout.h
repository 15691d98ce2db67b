#pragma once

#include <array>
#include <vector>

namespace zt {

// Placement arithmetic of the side panels, in pixels; no widgets involved.

struct PanelRect final {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PanelRect&) const = default;
};

struct PanelPoint final {
    int left = 0;
    int top = 0;
    bool operator==(const PanelPoint&) const = default;
};

// The channel panel: its three buttons ("Группы", "Выбор", "Все каналы", each `button`
// pixels square) and the area of the list or the compact grid, for a panel of `width` ×
// `height`. Upright (docked left or right) the buttons lie in a row at the top, "Группы" at the
// left and the other two at the right edge when there is room; lying flat (docked top or
// bottom) they stand in a column at the left, the other two at the bottom when there is room.
struct ChannelPanelGeometry final {
    std::array<PanelRect, 3> buttons;
    PanelRect area;
};
ChannelPanelGeometry channel_panel_layout(bool upright, int width, int height, int button);

// Buttons placed row by row from the left in an area `width` wide: as many columns as
// (width − 6) / column_pitch, at least one; button k at left = column × column_pitch + 2,
// top = row × row_pitch + 2.
std::vector<PanelPoint> grid_positions(int count, int width, int column_pitch, int row_pitch);
// The height the grid needs: the bottom of the last row plus the 2-pixel margin.
int grid_height(int count, int width, int column_pitch, int row_pitch, int button_height);

// The compact grid of channel logo buttons: side icon + 8, pitch icon + 10 both ways.
inline int channel_button_side(int icon) {
    return icon + 8;
}
inline int channel_grid_pitch(int icon) {
    return icon + 10;
}

// The genre panel's buttons: detailed they are 3·s + 47 wide with captions (column pitch
// 3·s + 49), compact s + 8 wide with icons only (pitch s + 10); always s + 8 high and s + 10
// apart from row to row.
int genre_button_width(bool detailed, int icon);
int genre_column_pitch(bool detailed, int icon);
inline int genre_button_height(int icon) {
    return icon + 8;
}
inline int genre_row_pitch(int icon) {
    return icon + 10;
}

// Font size of a panel list or panel buttons: the table font size plus 0, 2 or 4 for the
// icon sizes 16, 24 and 32.
int panel_font_size(int table_font_size, int icon);

// How far a wheel turn moves a panel's scroll position: −(delta / step), the step being the
// store's wheel step (50, 20 or 2).
int wheel_scroll_delta(int wheel_delta, int wheel_step);

}  // namespace zt
