#include "app/logic/auto_download.h"

#include <cctype>

#include "core/store.h"

namespace zt {

int auto_delay_minutes(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    int minutes = 0;
    // Two mask positions at most; the bound only keeps a hand-edited file from overflowing.
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (minutes > 100000) break;
        minutes = minutes * 10 + (text[i] - '0');
    }
    return minutes;
}

bool daily_time_due(DateTime now, std::string_view daily_time) {
    const int h = now.hour();
    const int m = now.minute();
    const char clock[5] = {char('0' + h / 10), char('0' + h % 10), ':', char('0' + m / 10),
                           char('0' + m % 10)};
    if (daily_time.size() != 5) return false;
    for (std::size_t i = 0; i < 5; ++i)
        if (std::tolower(static_cast<unsigned char>(daily_time[i])) !=
            std::tolower(static_cast<unsigned char>(clock[i])))
            return false;
    return true;
}

AutoStartPlan auto_start_plan(const Settings& settings, bool has_channels) {
    if (!has_channels || !settings.download.auto_download || !settings.personal.auto_on_start)
        return {};
    const int delay = auto_delay_minutes(settings.personal.auto_delay);
    if (delay == 0) return {true, 0};
    return {false, delay};
}

namespace {

// Holds the main window locked, the session busy and, in quiet mode, the messages off; gives
// all three back however the download ends.
class AutoDownloadGuard final {
public:
    explicit AutoDownloadGuard(AutoDownloadParts& parts) : m_parts(parts), m_busy(parts.session) {
        if (m_parts.lock) m_parts.lock(true);
        if (m_parts.settings.personal.auto_quiet) m_parts.session.messages_on = 0;
    }
    ~AutoDownloadGuard() {
        m_parts.session.messages_on = 1;
        if (m_parts.lock) m_parts.lock(false);
    }
    AutoDownloadGuard(const AutoDownloadGuard&) = delete;
    AutoDownloadGuard& operator=(const AutoDownloadGuard&) = delete;

private:
    AutoDownloadParts& m_parts;
    UiBusy m_busy;  // declared last: ui_idle is 1 again only after the lock is given back
};

}  // namespace

AutoDownloadResult AutoDownload(AutoDownloadParts& parts, net::TvprogOutcome* outcome) {
    if (parts.session.ui_idle != 1) return AutoDownloadResult::busy;
    AutoDownloadGuard guard(parts);
    // The exchange goes where the settings say now (the settings dialog may have changed it).
    parts.exchange.service = net::service_text(parts.settings);
    parts.exchange.proxy = parts.settings.proxy;
    AutoDownloadResult result = AutoDownloadResult::downloaded;
    const auto run = [&] {
        if (!net::ServerTest(parts.exchange)) {
            result = AutoDownloadResult::test_failed;
            return;
        }
        net::DownloadSession session(parts.store, parts.user, parts.settings, parts.exchange,
                                     parts.host);
        if (!session.LoginCheck(1)) {
            result = AutoDownloadResult::login_failed;
            return;
        }
        const net::TvprogOutcome got = session.GetTvprog(1);
        session.ClearSelection();
        if (outcome) *outcome = got;
    };
    if (parts.off_thread)
        parts.off_thread(run);
    else
        run();
    return result;
}

}  // namespace zt
