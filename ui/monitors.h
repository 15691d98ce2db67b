#pragma once

#include <QList>
#include <QStringList>

class QScreen;

namespace zt {

// The monitors in the order of the monitor pickers: the primary one first, then the others.
QList<QScreen*> monitors();
// The items of a monitor picker: "Основном мониторе", "2 мониторе", ...
QStringList monitor_items();
// The monitor of picker item `index`; the primary one for an index past the monitors.
QScreen* monitor_screen(int index);

}  // namespace zt
