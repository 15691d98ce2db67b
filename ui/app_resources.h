#pragma once

#include <QCursor>
#include <QIcon>

namespace zt {

// Registers the compiled-in resources (icon pictures); safe to call any number of times.
void init_app_resources();

// The program's icon in all its sizes (the main window, the tray, the installation window).
QIcon app_icon();

// The program's cursor table: 1 an open hand (something can be dragged), 2 a closed hand (it
// is being dragged), 3 a pointing hand (a link); any other index gives the arrow.
QCursor main_cursor(int index);

}  // namespace zt
