#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace zt {

struct SessionState;
class SettingsStore;
class IniFile;
class TFMain;
class TFProgress;
class TFSettings;
class UserInterface;
namespace net {
struct ExchangeContext;
}

// "Настройка": the settings dialog over the live settings, and what the program does with the
// general group whenever it is read: the desktop's proxy, the window and tray, the tables'
// colours, font and grid, the day start, and the programme lists rebuilt.
class DownloadWorker;

class SettingsCommand final : public QObject {
    Q_OBJECT
public:
    // `applied` runs after every application of the group (the daily download timer). The
    // connection test's exchange runs on `worker` (`exchange` is the worker's).
    SettingsCommand(SessionState& session, SettingsStore& store, TFMain& main, IniFile& ini,
                    UserInterface& ui, net::ExchangeContext& exchange, DownloadWorker& worker,
                    TFProgress& connection, std::function<void()> applied,
                    QObject* parent = nullptr);
    ~SettingsCommand() override;

    // The menu item: the program is busy (ui_idle 0) while the dialog is open; afterwards the
    // group read back is applied.
    void MDataSettingsClick();
    // The group was read at start-up: the desktop's proxy when it is to be taken.
    void settings_loaded();
    // After the dialog: settings_loaded, then the windows take the group.
    void apply();

    // The dialog, made on the first call.
    TFSettings& dialog();

private:
    SessionState& m_session;
    SettingsStore& m_store;
    TFMain& m_main;
    std::function<void()> m_applied;
    std::function<std::unique_ptr<TFSettings>()> m_make_dialog;
    std::unique_ptr<TFSettings> m_dialog;
};

}  // namespace zt
