#include "ui/desktop_notification.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace zt {

bool notify_desktop(const QString& title, const QString& text, int timeout_ms,
                    const QDBusConnection& bus) {
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout. The body
    // is plain text: the service may read markup, so the few characters it knows are escaped.
    QString body = text;
    body.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"));
    call << QStringLiteral("ЗОРВАН. Телепрограмма.") << quint32(0) << QString() << title << body
         << QStringList() << QVariantMap() << qint32(timeout_ms > 0 ? timeout_ms : -1);
    // Sent without waiting for the answer: a hung service never holds the window's thread.
    return QDBusConnection(bus).send(call);
}

}  // namespace zt
