#include "ui/panel_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must stand outside any namespace.
static bool register_panel_resources() {
    Q_INIT_RESOURCE(panels);
    return true;
}

namespace zt {

void init_panel_resources() {
    static const bool registered = register_panel_resources();
    (void)registered;
}

}  // namespace zt
