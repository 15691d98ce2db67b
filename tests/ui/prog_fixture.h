#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QTabWidget>
#include <memory>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "storage/settings.h"
#include "storage/settings_store.h"
#include "test_support.h"
#include "ui/minute_tick.h"
#include "views/detail_windows.h"
#include "views/logic/view_state.h"
#include "views/main_window.h"
#include "views/prog_model.h"
#include "views/prog_table.h"
#include "views/program_pages.h"

namespace zt::test {

// The real main window over a small store: two channels in one group, the clock on Wednesday
// 2026-03-11 at 20:00:30. "Первый" shows "Фильм" 20:00-21:00 (with an announcement); "Второй"
// shows "Спорт" 19:30-20:30.
class ProgPagesTest : public ::testing::Test {
protected:
    std::shared_ptr<FixedClock> clock;
    std::unique_ptr<all_list> store = make_store(at("2026-03-11 20:00:30"), &clock);
    Settings settings;
    SettingsStore live{settings};
    std::unique_ptr<ViewState> view;
    std::unique_ptr<TFMain> main;
    std::shared_ptr<chl_local_list> first, second;
    std::shared_ptr<tvprog_serv_list> film;

    void SetUp() override {
        store->add_chl_group(1, "Тест"_cp, "");
        first = channel("Первый", "1");
        second = channel("Второй", "2");
        prog(first, "2026-03-11 19:00", "2026-03-11 20:00", "Новости");
        film = prog(first, "2026-03-11 20:00", "2026-03-11 21:00", "Фильм", 2, 1);
        prog(first, "2026-03-11 21:00", "2026-03-11 22:00", "Новости");
        prog(second, "2026-03-11 19:30", "2026-03-11 20:30", "Спорт", 5, 1);
        prog(second, "2026-03-11 20:30", "2026-03-11 21:30", "Новости");
        set_week(*store);
        store->cur_group = 0;
        view = std::make_unique<ViewState>(*store);
        main = std::make_unique<TFMain>(live, *view);
        main->resize(900, 600);
        main->move(0, 0);
        main->show();
        pages().start();
    }

    std::shared_ptr<chl_local_list> channel(const std::string& name, const std::string& button) {
        const std::int32_t id = std::int32_t(store->channels.size()) + 1;
        auto ch = store->add_channel(id, to_cp1251(name), "", "00000000", -1);
        return store->add_chl_local(*store->chl_groups[0], -1, id, ch, to_cp1251(name), "", "00:00",
                                    button, -1);
    }

    std::shared_ptr<tvprog_serv_list> prog(const std::shared_ptr<chl_local_list>& member,
                                           const std::string& start, const std::string& finish,
                                           const std::string& title, std::int32_t family = 1,
                                           std::int32_t sub = 1) {
        return test::add_programme(*store, *member, start, finish, title, family, sub);
    }

    ProgramPages& pages() { return main->programs(); }
    DetailWindows& details() { return main->details(); }
    MinuteTick& tick() { return main->minute_tick(); }

    // "<channel> <start> <title>" of every row shown by the active table, UTF-8.
    std::vector<std::string> shown() {
        std::vector<std::string> out;
        ProgramTableModel& m = pages().model(pages().page());
        for (int r = 0; r < m.rowCount(); ++r) {
            const auto* row = m.row(r);
            out.push_back(to_utf8(row->member->name) + " " + to_utf8(row->start_text) + " " +
                          to_utf8(row->prog->title));
        }
        return out;
    }

    // Selects line `line` of the active table as a click would.
    void select(int line) {
        ProgramTable& t = pages().active_table();
        t.setCurrentIndex(t.model()->index(line, 0));
    }

    // The line of the active table showing `prog`, or -1.
    int line_of(const std::shared_ptr<tvprog_serv_list>& p) {
        ProgramTableModel& m = pages().model(pages().page());
        for (int r = 0; r < m.rowCount(); ++r)
            if (m.row(r)->prog == p) return r;
        return -1;
    }
};

}  // namespace zt::test
