#pragma once

#include <QObject>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace zt {

// The tray icon with its menu `PopupMenuTray`. A click on the icon and "Восстановить" ask to
// restore the main window; the other items ask for their main-menu twins.
class Tray final : public QObject {
    Q_OBJECT
public:
    explicit Tray(QObject* parent = nullptr);
    ~Tray() override;

    // Whether the desktop shows tray icons at all.
    static bool available();

    void set_visible(bool visible);
    bool visible() const;
    // A balloon message for `timeout_ms` (6000 by default).
    void show_balloon(const QString& title, const QString& text, int timeout_ms = 6000);
    // The icon itself (the reminders show their balloons on it).
    QSystemTrayIcon& icon() const { return *TrayIcon; }

    QMenu* PopupMenuTray = nullptr;
    QAction* MTrayRestore = nullptr;
    QAction* MTrayDownloadProg = nullptr;  // "Получить телепрограмму"
    QAction* MTrayDataCabinet = nullptr;
    QMenu* MTrayAlarm = nullptr;  // "Оповещение": the reminder switches of the main menu
    QAction* MTrayExit = nullptr;

signals:
    void restore_requested();
    void download_requested();
    void cabinet_requested();
    void exit_requested();

private:
    QSystemTrayIcon* TrayIcon = nullptr;
};

}  // namespace zt
