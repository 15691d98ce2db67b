// Where the desktop has no tray, a reminder balloon is delivered as a desktop notification over a
// real session bus (a dbus-daemon started by the test) to a notification service of the test's.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QVariantMap>
#include <csignal>

#include "core/store.h"
#include "reminders/alarm_outputs.h"
#include "storage/settings.h"
#include "ui/desktop_notification.h"
#include "ui/image_lists.h"

// What a notification service receives (outside any namespace: D-Bus adaptors are plain QObjects).
class RecordingNotifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Note {
        QString app, summary, body;
        int timeout = 0;
    };
    std::vector<Note> notes;

public slots:
    uint Notify(const QString& app, uint, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int timeout) {
        notes.push_back({app, summary, body, timeout});
        return uint(notes.size());
    }
};

namespace zt {
namespace {

// A session bus of the test's own: dbus-daemon on a socket in a temporary folder, ended by pid.
class SessionBus final {
public:
    SessionBus() {
        QProcess daemon;
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--fork"),
                      QStringLiteral("--print-address=1"), QStringLiteral("--print-pid=1"),
                      QStringLiteral("--address=unix:dir=") + m_dir.path()});
        if (!daemon.waitForFinished(10000)) return;
        const QStringList lines =
            QString::fromUtf8(daemon.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        if (lines.size() < 2) return;
        address = lines[0].trimmed();
        m_pid = lines[1].trimmed().toLongLong();
    }
    ~SessionBus() {
        if (m_pid > 0) ::kill(pid_t(m_pid), SIGTERM);
    }
    QString address;

private:
    QTemporaryDir m_dir;
    qint64 m_pid = 0;
};

TEST(DesktopNotification, ABalloonWithoutATrayReachesTheNotificationService) {
    SessionBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start";
    QDBusConnection service =
        QDBusConnection::connectToBus(bus.address, QStringLiteral("zt-notifications"));
    QDBusConnection client = QDBusConnection::connectToBus(bus.address, QStringLiteral("zt-app"));
    ASSERT_TRUE(service.isConnected() && client.isConnected());
    RecordingNotifications recorder;
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &recorder,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.Notifications")));

    // The offscreen desktop of the tests has no tray, as a desktop without a panel has none.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    all_list store;
    Settings settings;
    LogoImages logos;
    QSystemTrayIcon tray;
    AlarmOutputs out(store, settings, tray, logos, nullptr);
    out.set_notification_bus(client);
    out.test_tray();
    // Markup characters reach the service as text.
    EXPECT_TRUE(notify_desktop(QStringLiteral("Скоро"), QStringLiteral("<b>Новости</b> & спорт"),
                               5000, client));

    const QDeadlineTimer deadline(20000);
    while (recorder.notes.size() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(recorder.notes.size(), 2u);
    EXPECT_EQ(recorder.notes[0].app, QStringLiteral("ЗОРВАН. Телепрограмма."));
    EXPECT_FALSE(recorder.notes[0].summary.isEmpty());
    EXPECT_FALSE(recorder.notes[0].body.isEmpty());
    EXPECT_FALSE(tray.isVisible());
    EXPECT_EQ(recorder.notes[1].summary, QStringLiteral("Скоро"));
    EXPECT_EQ(recorder.notes[1].body, QStringLiteral("&lt;b&gt;Новости&lt;/b&gt; &amp; спорт"));
    EXPECT_EQ(recorder.notes[1].timeout, 5000);

    // Without a bus nothing is sent and nothing waits.
    EXPECT_FALSE(notify_desktop(QStringLiteral("t"), QStringLiteral("b"), 1000,
                                QDBusConnection(QStringLiteral("zt-none"))));
    QDBusConnection::disconnectFromBus(QStringLiteral("zt-app"));
    QDBusConnection::disconnectFromBus(QStringLiteral("zt-notifications"));
}

}  // namespace
}  // namespace zt

#include "desktop_notification_test.moc"
