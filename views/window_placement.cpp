#include "views/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "storage/settings.h"

namespace zt {
namespace {

Geometry geometry_of(const QWidget& window) {
    const QPoint pos = window.pos();
    return Geometry{window.width(), window.height(), pos.y(), pos.x()};
}

void set_geometry(QWidget& window, const Geometry& g) {
    // pos() is the frame's corner and size() the client's, as they are saved.
    window.resize(g.width, g.height);
    window.move(g.left, g.top);
}

}  // namespace

WorkArea work_area(const QScreen* screen) {
    if (!screen) return WorkArea{0, 0, 800, 600};
    const QRect r = screen->availableGeometry();
    return WorkArea{r.left(), r.top(), r.width(), r.height()};
}

void restore_window_geometry(QWidget& window, const MainWindowSettings& saved) {
    QScreen* screen = window.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    set_geometry(window, clamp_window_geometry(saved, work_area(screen)));
    if (const auto state = restored_window_state(saved.state)) {
        if (*state == WindowState::maximized)
            window.setWindowState(window.windowState() | Qt::WindowMaximized);
        else
            window.setWindowState(window.windowState() &
                                  ~(Qt::WindowMaximized | Qt::WindowMinimized));
    }
}

void move_to_monitor(QWidget& window, int monitor) {
    const auto list = monitors();
    if (list.isEmpty()) return;
    QScreen* target = list[monitor_index(monitor, int(list.size()))];
    const WorkArea area = work_area(target);
    Geometry g = geometry_of(window);
    // A window on another monitor keeps its place relative to that monitor's corner.
    if (QScreen* current = window.screen(); current && current != target) {
        const WorkArea from = work_area(current);
        g.left += area.left - from.left;
        g.top += area.top - from.top;
    }
    const Geometry moved = move_onto_area(g, area);
    if (!(moved == geometry_of(window))) window.move(moved.left, moved.top);
}

MainWindowSettings window_geometry(const QWidget& window) {
    MainWindowSettings s;
    const bool maximised = window.isMaximized();
    if (maximised && window.normalGeometry().isValid()) {
        // The normal geometry is the client's; the frame's corner sits above and left of it.
        const QRect normal = window.normalGeometry();
        const QPoint frame_offset = window.geometry().topLeft() - window.pos();
        s.left = normal.left() - frame_offset.x();
        s.top = normal.top() - frame_offset.y();
        s.width = normal.width();
        s.height = normal.height();
    } else {
        const Geometry g = geometry_of(window);
        s.left = g.left;
        s.top = g.top;
        s.width = g.width;
        s.height = g.height;
    }
    s.state = maximised ? 2 : (window.isMinimized() ? 1 : 0);
    return s;
}

}  // namespace zt
