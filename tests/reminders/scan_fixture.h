#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/store.h"
#include "reminders/logic/alarm_delivery.h"
#include "storage/settings.h"
#include "test_support.h"

namespace zt::test {

// A small schedule for the reminder scan: channels "Первый" (1), "Второй" (2), "Третий" (3) and
// "Вне групп" (4); group "Основная" holds 1 (button "1", an own description), 2 (shift
// +01:00) and 3; group "Вторая" holds 1 again; channel 4 is in no group. No programmes: each
// test adds its own. The clock stands at 2026-03-11 20:00:30.
struct ScanStore {
    std::shared_ptr<FixedClock> clock;
    std::unique_ptr<all_list> store;
    Settings settings;

    ScanStore() {
        store = make_store(at("2026-03-11 20:00:30"), &clock);
        store->add_channel(1, "Первый"_cp, "С сервера"_cp, "00000000", 5);
        store->add_channel(2, "Второй"_cp, "", "00000000", -1);
        store->add_channel(3, "Третий"_cp, "", "00000000", -1);
        store->add_channel(4, "Вне групп"_cp, "", "00000000", -1);
        auto g1 = store->add_chl_group(-1, "Основная"_cp, "");
        store->add_chl_local(*g1, -1, 1, nullptr, "", "Свой"_cp, "00:00", "1", 5);
        store->add_chl_local(*g1, -1, 2, nullptr, "", "", "+01:00", "", -1);
        store->add_chl_local(*g1, -1, 3, nullptr, "", "", "00:00", "", -1);
        auto g2 = store->add_chl_group(-1, "Вторая"_cp, "");
        store->add_chl_local(*g2, -1, 1, nullptr, "", "", "00:00", "", -1);
    }

    // A programme of channel `chl` from `start` ("yyyy-MM-dd hh:mm", 30 minutes long).
    tvprog_serv_list& prog(std::int32_t chl, const std::string& start, const std::string& title,
                           std::uint8_t alarm = 1, std::int32_t family = 0, std::int32_t sub = 0) {
        const DateTime s = at(start);
        auto& c = *store->find_channel(chl);
        return *store->add_tvprog(c, {.id = std::int32_t(c.tvprog.size() + 1),
                                      .start = s,
                                      .finish = s.addMinutes(30),
                                      .type_family = family,
                                      .type_sub = sub,
                                      .title = to_cp1251(title),
                                      .alarm = alarm});
    }
};

// Records what the runner asks of the outputs, as lines in order; the window holds a count of
// tabs like the real one.
class DeliveryRecorder final : public reminders::AlarmDelivery {
public:
    void window_add(const reminders::AlarmEvent& e, int bar_max) override {
        ++tabs;
        log("add " + to_utf8(e.ChannelCaption) + " " + std::to_string(bar_max));
    }
    void window_show() override { log("show"); }
    int window_tabs() const override { return tabs; }
    void window_progress(int position) override { bar = position; }
    void window_close() override {
        tabs = 0;
        log("close");
    }
    void sound_play() override { log("sound"); }
    void sound_stop() override { log("sound stop"); }
    bool tray_visible() const override { return tray_on; }
    void tray_show(const std::string& title, const std::string& text, int timeout) override {
        log("tray " + to_utf8(title) + " " + std::to_string(timeout));
        balloon = to_utf8(text);
    }
    void tray_clear() override { log("tray clear"); }
    void osd_show(const reminders::AlarmEvent& e) override {
        log("osd " + to_utf8(e.ChannelCaption));
    }
    void start_program(const std::string& program, const std::string& params, int) override {
        log("program " + program + " " + params);
    }
    void close_timer_enable() override { ++timer_enables; }

    void log(std::string line) { lines.push_back(std::move(line)); }

    std::vector<std::string> lines;
    std::string balloon;
    int tabs = 0;
    int bar = 0;
    int timer_enables = 0;
    bool tray_on = false;
};

}  // namespace zt::test
