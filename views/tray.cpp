#include "views/tray.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

#include "ui/app_resources.h"

namespace zt {

Tray::Tray(QObject* parent) : QObject(parent) {
    PopupMenuTray = new QMenu;
    PopupMenuTray->setObjectName(QStringLiteral("PopupMenuTray"));
    MTrayRestore = PopupMenuTray->addAction(QStringLiteral("Восстановить"));
    MTrayRestore->setObjectName(QStringLiteral("MTrayRestore"));
    QFont bold = MTrayRestore->font();
    bold.setBold(true);
    MTrayRestore->setFont(bold);
    PopupMenuTray->setDefaultAction(MTrayRestore);
    PopupMenuTray->addSeparator();
    MTrayDownloadProg = PopupMenuTray->addAction(QStringLiteral("Получить телепрограмму"));
    MTrayDownloadProg->setObjectName(QStringLiteral("MTrayDownloadProg"));
    MTrayDataCabinet = PopupMenuTray->addAction(QStringLiteral("Личный кабинет"));
    MTrayDataCabinet->setObjectName(QStringLiteral("MTrayDataCabinet"));
    PopupMenuTray->addSeparator();
    MTrayAlarm = PopupMenuTray->addMenu(QStringLiteral("Оповещение"));
    MTrayAlarm->setObjectName(QStringLiteral("MTrayAlarm"));
    PopupMenuTray->addSeparator();
    MTrayExit = PopupMenuTray->addAction(QStringLiteral("Выход"));
    MTrayExit->setObjectName(QStringLiteral("MTrayExit"));

    TrayIcon = new QSystemTrayIcon(app_icon(), this);
    TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
    TrayIcon->setToolTip(QStringLiteral("ЗОРВАН. Телепрограмма"));
    TrayIcon->setContextMenu(PopupMenuTray);

    connect(MTrayRestore, &QAction::triggered, this, &Tray::restore_requested);
    connect(MTrayDownloadProg, &QAction::triggered, this, &Tray::download_requested);
    connect(MTrayDataCabinet, &QAction::triggered, this, &Tray::cabinet_requested);
    connect(MTrayExit, &QAction::triggered, this, &Tray::exit_requested);
    connect(TrayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    emit restore_requested();
            });
}

Tray::~Tray() {
    delete PopupMenuTray;
}

bool Tray::available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void Tray::set_visible(bool visible) {
    TrayIcon->setVisible(visible);
}

bool Tray::visible() const {
    return TrayIcon->isVisible();
}

void Tray::show_balloon(const QString& title, const QString& text, int timeout_ms) {
    TrayIcon->showMessage(title, text, QSystemTrayIcon::Information, timeout_ms);
}

}  // namespace zt
