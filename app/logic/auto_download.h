#pragma once

#include <functional>
#include <string_view>

#include "app/logic/session_state.h"
#include "core/datetime.h"
#include "net/download_host.h"
#include "net/download_session.h"
#include "net/http_exchange.h"
#include "storage/data_files.h"
#include "storage/settings.h"

namespace zt {

class all_list;

// "Задержка перед получением:" in minutes: the leading decimal integer of the text after its
// leading blanks (the mask edit shows an empty position as a space), 0 when there is none.
// " 2" is 2; "", " " and "0" are 0.
int auto_delay_minutes(std::string_view text);

// The daily trigger: the local time of day of `now` written "hh:mm" equals the daily time
// ignoring letter case. A time with an empty position ("-") never matches.
bool daily_time_due(DateTime now, std::string_view daily_time);

// What start-up does about the automatic download once the data are loaded.
struct AutoStartPlan final {
    bool run_now = false;   // a download at once (delay 0)
    int delay_minutes = 0;  // above 0: the pause timer runs this long, then a download
    bool operator==(const AutoStartPlan&) const = default;
};
// With channels in the store, the master switch ("Автоматическое получение телепрограммы")
// and "При запуске программы" on: at once for a delay of 0, else after the delay.
// Otherwise nothing.
AutoStartPlan auto_start_plan(const Settings& settings, bool has_channels);

// The daily timer runs exactly while "Ежедневно в:" is ticked (whatever the master switch).
inline bool daily_timer_on(const Settings& settings) {
    return settings.personal.auto_daily;
}

// How one automatic download ended.
enum class AutoDownloadResult {
    busy,          // ui_idle was not 1: nothing happened
    test_failed,   // the connection test failed
    login_failed,  // the login check failed (or the forced update ended it)
    downloaded,    // the schedule request ran; `outcome` says how
};

// What one automatic download works with. The lock disables (true) and enables (false) the
// main window's menus, side panel and pages.
struct AutoDownloadParts final {
    all_list& store;
    SessionState& session;
    user_account& user;
    const Settings& settings;
    net::ExchangeContext& exchange;
    net::DownloadHost& host;
    std::function<void(bool)> lock;
    // Runs the exchanges, applying and saving and returns when they have ended; empty: on the
    // calling thread. The application runs them on its download worker, with `exchange` and
    // `host` reaching the windows through the worker's proxies.
    std::function<void(const std::function<void()>&)> off_thread = {};
};

// One automatic download: when ui_idle is 1 it locks the main window, silences messages in
// quiet mode, tests the connection, checks the login and downloads the schedule of every
// channel of the store (mode 1). ui_idle is 0 for its whole length, so a trigger arriving
// meanwhile starts nothing. The lock, messages_on and ui_idle are set and restored on the calling
// thread however it ends; the rest runs through `off_thread`.
AutoDownloadResult AutoDownload(AutoDownloadParts& parts, net::TvprogOutcome* outcome = nullptr);

}  // namespace zt
