// The automatic download: its delay and daily-time rules, the start-up plan, and whole runs
// against a real zorvan-server, a silent one and a closed port.
#include <gtest/gtest.h>

#include "app/logic/auto_download.h"
#include "core/text_helpers.h"
#include "session_fixture.h"
#include "tools/peers/peers.h"

namespace zt::test {
namespace {

using peers::ServerProcess;

TEST(AutoDownloadRules, DelayIsTheLeadingNumber) {
    const struct {
        const char* text;
        int minutes;
    } cases[] = {{" 2", 2}, {"2", 2},  {"2 ", 2}, {"15", 15}, {"0", 0},  {"", 0},
                 {" ", 0},  {"  ", 0}, {"x5", 0}, {"-3", 0},  {"07", 7}, {"3a", 3}};
    for (const auto& c : cases) EXPECT_EQ(auto_delay_minutes(c.text), c.minutes) << '"' << c.text;
}

TEST(AutoDownloadRules, DailyTimeMatchesItsWholeMinute) {
    const struct {
        const char* now;
        const char* time;
        bool due;
    } cases[] = {
        {"2026-12-10 07:29:59", "07:30", false}, {"2026-12-10 07:30:00", "07:30", true},
        {"2026-12-10 07:30:59", "07:30", true},  {"2026-12-10 07:31:00", "07:30", false},
        {"2026-12-10 19:30:00", "07:30", false}, {"2026-12-10 07:30:00", "7:30", false},
        {"2026-12-10 07:30:00", "07:3-", false}, {"2026-12-10 07:30:00", "--:--", false},
        {"2026-12-10 07:30:00", "", false},      {"2026-12-10 00:00:10", "00:00", true},
        {"2026-12-10 23:59:30", "23:59", true},  {"2026-12-10 12:00:00", "12:00 ", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(daily_time_due(at(c.now), c.time), c.due) << c.now << " / " << c.time;
}

TEST(AutoDownloadRules, StartUpPlan) {
    const struct {
        bool master, on_start, channels;
        const char* delay;
        AutoStartPlan plan;
    } cases[] = {
        {true, true, true, " 2", {false, 2}}, {true, true, true, "0", {true, 0}},
        {true, true, true, "", {true, 0}},    {true, true, true, "10", {false, 10}},
        {false, true, true, "0", {}},         {true, false, true, "0", {}},
        {true, true, false, "0", {}},
    };
    for (const auto& c : cases) {
        Settings s;
        s.download.auto_download = c.master;
        s.personal.auto_on_start = c.on_start;
        s.personal.auto_delay = c.delay;
        EXPECT_EQ(auto_start_plan(s, c.channels), c.plan)
            << c.master << c.on_start << c.channels << " \"" << c.delay << '"';
    }
    // The daily timer follows "Ежедневно в:" alone, also with the master switch off.
    Settings s;
    s.download.auto_download = false;
    s.personal.auto_daily = true;
    EXPECT_TRUE(daily_timer_on(s));
}

// Messages as the application shows them: silent while messages_on is 0, except questions.
class StoreMessages final : public UserInterface {
public:
    explicit StoreMessages(const SessionState& session) : m_session(session) {}
    bool show_msg(MsgKind kind, const std::string& text) override {
        if (m_session.messages_on == 0 && kind != MsgKind::Question) return false;
        shown.push_back(text);
        return false;
    }
    std::vector<std::string> shown;

private:
    const SessionState& m_session;
};

// A session fixture whose exchange reports through StoreMessages and records the lock.
struct AutoFixture : SessionFixture {
    SessionState flags;
    StoreMessages messages{flags};
    net::ExchangeContext auto_ctx{messages, view, flags.net_cancel, traffic};
    std::vector<bool> locks;
    AutoDownloadParts parts{
        *store, flags, user, settings, auto_ctx, host, [this](bool on) { locks.push_back(on); }};

    explicit AutoFixture(const std::string& service) : SessionFixture(service) {
        settings.service.host = service;
        auto_ctx.limits = ctx.limits;
    }
    void expect_window_usable() const {
        EXPECT_EQ(flags.ui_idle, 1);
        EXPECT_EQ(flags.messages_on, 1);
        EXPECT_EQ(locks, (std::vector<bool>{true, false}));
    }
};

TEST(AutoDownloadRun, DownloadsTheStoreChannelsQuietly) {
    ServerProcess server;
    AutoFixture f(server.address());
    // The channels come from an interactive download first; then the store is emptied of
    // programmes so the automatic download has days to bring.
    ASSERT_TRUE(f.session.LoginCheck(0));
    ASSERT_TRUE(f.session.GetPakets());
    f.tick_paket(f.session.selection.update_pakets.front()->id);
    ASSERT_EQ(f.session.GetTvprog(0), net::TvprogOutcome::applied);
    for (const auto& c : f.store->channels) {
        c->tvprog.clear();
        c->dates.clear();
    }
    f.host.after = 0;
    f.settings.personal.auto_quiet = true;
    f.settings.personal.auto_tray_msg = true;
    struct Notices final : net::DownloadHost {
        void tray_notice(const std::string& title, const std::string& text) override {
            shown.push_back(title + ": " + text);
        }
        std::vector<std::string> shown;
    } notices;
    AutoDownloadParts parts = f.parts;
    AutoDownloadParts with_notices{parts.store,    parts.session, parts.user, parts.settings,
                                   parts.exchange, notices,       parts.lock};
    net::TvprogOutcome outcome{};
    EXPECT_EQ(AutoDownload(with_notices, &outcome), AutoDownloadResult::downloaded);
    EXPECT_EQ(outcome, net::TvprogOutcome::applied);
    std::size_t programmes = 0;
    for (const auto& c : f.store->channels) programmes += c->tvprog.size();
    EXPECT_GT(programmes, 0u);
    EXPECT_EQ(
        notices.shown,
        (std::vector<std::string>{"Автоматическое получение телепрограммы: Успешно завершено."}));
    EXPECT_TRUE(f.messages.shown.empty());
    f.expect_window_usable();
}

TEST(AutoDownloadRun, SilentServerInQuietModeShowsNothingAndUnlocks) {
    for (const bool quiet : {true, false}) {
        ServerProcess server("silent");
        AutoFixture f(server.address());
        f.settings.personal.auto_quiet = quiet;
        EXPECT_EQ(AutoDownload(f.parts), AutoDownloadResult::test_failed);
        if (quiet)
            EXPECT_TRUE(f.messages.shown.empty());
        else
            EXPECT_EQ(f.messages.shown.size(), 1u);
        f.expect_window_usable();
    }
}

TEST(AutoDownloadRun, ATriggerDuringADownloadStartsNothing) {
    ServerProcess server("silent");
    AutoFixture f(server.address());
    // Another trigger that arrives while a download is under way (here from the exchange's
    // tick, while it waits for the silent server) meets ui_idle 0.
    struct Reentry final : net::ExchangeView {
        void show_labels(const net::ExchangeLabels&) override {}
        void tick() override {
            if (inner.empty() && parts) inner.push_back(AutoDownload(*parts));
        }
        AutoDownloadParts* parts = nullptr;
        std::vector<AutoDownloadResult> inner;
    } reentry;
    net::ExchangeContext ctx{f.messages, reentry, f.flags.net_cancel, f.traffic};
    ctx.limits = f.auto_ctx.limits;
    AutoDownloadParts parts{*f.store,
                            f.flags,
                            f.user,
                            f.settings,
                            ctx,
                            f.host,
                            [&f](bool on) { f.locks.push_back(on); }};
    reentry.parts = &parts;
    EXPECT_EQ(AutoDownload(parts), AutoDownloadResult::test_failed);
    EXPECT_EQ(reentry.inner, (std::vector<AutoDownloadResult>{AutoDownloadResult::busy}));
    f.expect_window_usable();
}

TEST(AutoDownloadRun, BusyWhileTheManualDownloadRuns) {
    AutoFixture f("127.0.0.1:" + std::to_string(peers::free_port()));
    f.flags.ui_idle = 0;
    EXPECT_EQ(AutoDownload(f.parts), AutoDownloadResult::busy);
    EXPECT_TRUE(f.locks.empty());
    EXPECT_EQ(f.flags.ui_idle, 0);
}

}  // namespace
}  // namespace zt::test
