#pragma once

#include <QUndoStack>
#include <memory>
#include <sstream>
#include <string>

#include "core/cp1251.h"
#include "core/genres.h"
#include "managers/manager_context.h"
#include "storage/settings.h"
#include "storage/settings_store.h"
#include "test_support.h"
#include "tools/json/store_json.h"
#include "ui/image_lists.h"

namespace zt::test {

// The whole store as the inspection JSON (equal texts: equal stores).
inline std::string store_text(const all_list& store) {
    std::ostringstream out;
    write_store_json(out, store, user_account{}, {});
    return out.str();
}

// A store with two channels (programmes, favourites) and two genre groups, and the manager's
// shared context over it, for a tab constructed on its own.
struct TabFixture {
    TabFixture() {
        auto& s = *store;
        one = s.add_channel(1, "Первый"_cp, "", "00000000", -1);
        s.add_channel(2, "Без любимых"_cp, "", "00000000", -1);
        three = s.add_channel(3, "Третий"_cp, "", "00000000", -1);
        const DateTime now = s.clock().now();
        const char* titles[] = {"Новости", "Кино", "Новости", "Футбол", "Сериал"};
        int id = 1;
        for (const char* t : titles) {
            const DateTime start = now.addMinutes(60 * id);
            s.add_tvprog(*one, {.id = id++,
                                .start = start,
                                .finish = start.addMinutes(50),
                                .type_family = 5,
                                .type_sub = 15,
                                .title = to_cp1251(t)});
        }
        auto news = s.add_love(*one, -1, "Новости"_cp, 1, now.addDays(-3));
        s.add_love(*one, -1, "Сериал"_cp, 0, now.addDays(-10));
        s.add_love(*one, -1, "Погода"_cp, 1, now.addDays(-40));
        s.add_love(*three, -1, "Футбол"_cp, 1, now.addDays(-1));
        one->tvprog[0]->love = news;
        one->tvprog[2]->love = news;
        one->tvprog[4]->love = one->love[1];
        auto sport = add_type_group(s, 2, "Спорт"_cp);
        for (int row = 31; row <= 35; ++row) add_type_group_member(*sport, s.types[row]->id, row);
        add_type_group(s, 5, "Вечер"_cp);
    }
    std::unique_ptr<all_list> store = make_store(at("2026-12-10 12:00"));
    std::shared_ptr<chl_serv_list> one, three;
    Settings settings_model;
    SettingsStore settings{settings_model};
    QUndoStack undo;
    LogoImages logos;
    Recorder ui;
    ManagerContext ctx{*store, settings, undo, logos, ui, {}};
};

}  // namespace zt::test
