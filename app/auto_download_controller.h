#pragma once

#include <QObject>
#include <functional>

#include "app/logic/auto_download.h"

class QAction;
class QTimer;

namespace zt {

class all_list;

// The automatic download of the running program: the pause timer after start-up, the daily
// timer checked once a minute against the clock of the store, and the runs themselves with the
// main window locked. The decisions are the headless rules of app/logic/auto_download.
class AutoDownloadController final : public QObject {
    Q_OBJECT
public:
    // `lock` locks (true) and unlocks the main window.
    AutoDownloadController(all_list& store, SessionState& session, user_account& user,
                           const Settings& settings, net::ExchangeContext& exchange,
                           net::DownloadHost& host, std::function<void(bool)> lock,
                           QObject* parent = nullptr);
    ~AutoDownloadController() override;

    // The settings were read (at start-up, after the settings dialog): the daily timer runs
    // exactly while "Ежедневно в:" is ticked.
    void settings_loaded();
    // Start-up, once the data are loaded: the download after start-up, at once or after the
    // delay, when the master switch and "При запуске программы" are on.
    void start_up();

    // Where the download's work runs (AutoDownloadParts::off_thread).
    void set_off_thread(std::function<void(const std::function<void()>&)> run) {
        m_parts.off_thread = std::move(run);
    }

    // One automatic download (both timers and start-up come here).
    AutoDownloadResult AutoDownload();
    void TimerProgAutoPauseTimer();
    void TimerProgAutoTimeTimer();

    QTimer* TimerProgAutoPause = nullptr;
    QTimer* TimerProgAutoTime = nullptr;

signals:
    // A run ended (or was dropped because the program was busy).
    void finished(AutoDownloadResult result);

private:
    all_list& m_store;
    AutoDownloadParts m_parts;
    std::int64_t m_last_daily_minute = -1;
};

}  // namespace zt
