#include "views/logic/panel_layout.h"

#include <algorithm>

#include "storage/settings.h"

namespace zt {

ChannelPanelGeometry channel_panel_layout(bool upright, int width, int height, int button) {
    ChannelPanelGeometry g;
    const int b = button;
    if (upright) {
        g.buttons[0] = {2, 2, b, b};
        if (width < 3 * b + 12) {
            g.buttons[1] = {2 + b + 2, 2, b, b};
            g.buttons[2] = {2 + 2 * (b + 2), 2, b, b};
        } else {
            g.buttons[2] = {width - 5 - b, 2, b, b};
            g.buttons[1] = {g.buttons[2].left - 2 - b, 2, b, b};
        }
        g.area = {2, b + 4, width - 7, height - b - 9};
    } else {
        g.buttons[0] = {2, 2, b, b};
        if (height < 3 * b + 12) {
            g.buttons[1] = {2, 2 + b + 2, b, b};
            g.buttons[2] = {2, 2 + 2 * (b + 2), b, b};
        } else {
            g.buttons[2] = {2, height - 6 - b, b, b};
            g.buttons[1] = {2, g.buttons[2].top - 2 - b, b, b};
        }
        g.area = {b + 4, 2, width - b - 9, height - 8};
    }
    // A panel smaller than its buttons still gets an area, only an empty one.
    g.area.width = std::max(g.area.width, 0);
    g.area.height = std::max(g.area.height, 0);
    return g;
}

namespace {

int columns_for(int width, int column_pitch) {
    if (column_pitch <= 0) return 1;
    return std::max((width - 6) / column_pitch, 1);
}

}  // namespace

std::vector<PanelPoint> grid_positions(int count, int width, int column_pitch, int row_pitch) {
    std::vector<PanelPoint> points;
    if (count <= 0) return points;
    points.reserve(std::size_t(count));
    const int columns = columns_for(width, column_pitch);
    for (int k = 0; k < count; ++k)
        points.push_back({(k % columns) * column_pitch + 2, (k / columns) * row_pitch + 2});
    return points;
}

int grid_height(int count, int width, int column_pitch, int row_pitch, int button_height) {
    if (count <= 0) return 0;
    const int rows =
        (count + columns_for(width, column_pitch) - 1) / columns_for(width, column_pitch);
    return (rows - 1) * row_pitch + 2 + button_height + 2;
}

int genre_button_width(bool detailed, int icon) {
    return detailed ? 3 * icon + 47 : icon + 8;
}

int genre_column_pitch(bool detailed, int icon) {
    return detailed ? 3 * icon + 49 : icon + 10;
}

int panel_font_size(int table_font_size, int icon) {
    switch (normalize_icon_size(icon)) {
        case 32:
            return table_font_size + 4;
        case 24:
            return table_font_size + 2;
        default:
            return table_font_size;
    }
}

int wheel_scroll_delta(int wheel_delta, int wheel_step) {
    if (wheel_step <= 0) return 0;
    return -(wheel_delta / wheel_step);
}

}  // namespace zt
