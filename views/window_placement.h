#pragma once

#include <QList>
#include <QStringList>

#include "ui/monitors.h"
#include "views/logic/window_geometry.h"

class QScreen;
class QWidget;

namespace zt {

// The work area (the screen without panels and docks) of a monitor.
WorkArea work_area(const QScreen* screen);

// Restores the main window's position, size and state from [WM] on the work area of the
// monitor that holds the window now.
void restore_window_geometry(QWidget& window, const MainWindowSettings& saved);
// Moves the window, when needed, so that it lies wholly on the chosen monitor ("Запускать
// на:"; an index past the monitors means the primary one).
void move_to_monitor(QWidget& window, int monitor);
// The window's position, size (of the normal state when maximised) and state for [WM].
MainWindowSettings window_geometry(const QWidget& window);

}  // namespace zt
