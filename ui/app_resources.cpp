#include "ui/app_resources.h"

#include <QCoreApplication>

// The resource file is compiled into a static library; naming its initialiser here keeps the
// linker from dropping it. Q_INIT_RESOURCE must stand outside any namespace.
static bool register_resources() {
    Q_INIT_RESOURCE(zorvan_tv);
    return true;
}

namespace zt {

void init_app_resources() {
    static const bool registered = register_resources();
    (void)registered;
}

QIcon app_icon() {
    // Decoded once per application object (seven pictures; the main window, the tray and the
    // application each ask for it) and released with it.
    static QIcon* icon = nullptr;
    if (!icon) {
        init_app_resources();
        icon = new QIcon;
        for (const int size : {16, 24, 32, 48, 64, 128, 256})
            icon->addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
        qAddPostRoutine([] {
            delete icon;
            icon = nullptr;
        });
    }
    return *icon;
}

QCursor main_cursor(int index) {
    switch (index) {
        case 1:
            return QCursor(Qt::OpenHandCursor);
        case 2:
            return QCursor(Qt::ClosedHandCursor);
        case 3:
            return QCursor(Qt::PointingHandCursor);
        default:
            return QCursor(Qt::ArrowCursor);
    }
}

}  // namespace zt
