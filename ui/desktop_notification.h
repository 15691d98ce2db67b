#pragma once

#include <QDBusConnection>
#include <QString>

namespace zt {

// A desktop notification through the session's notification service
// (org.freedesktop.Notifications): how a tray balloon reaches the user where the desktop has no
// system tray. Returns whether the message went out on the bus; without a session bus or a
// notification service nothing is shown.
bool notify_desktop(const QString& title, const QString& text, int timeout_ms,
                    const QDBusConnection& bus = QDBusConnection::sessionBus());

}  // namespace zt
