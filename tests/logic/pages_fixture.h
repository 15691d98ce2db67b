#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/store.h"
#include "test_support.h"
#include "views/logic/program_list.h"

namespace zt::test {

// A small store for the programme list tests: channels and one group are made on demand,
// programmes are given as "yyyy-MM-dd hh:mm" texts. The clock stands on Wednesday 2026-03-11
// 20:00 unless a test moves it.
class PagesTest : public ::testing::Test {
protected:
    std::shared_ptr<FixedClock> clock;
    std::unique_ptr<all_list> store = make_store(at("2026-03-11 20:00"), &clock);
    views::ProgramList list;

    // A channel and its member in group 0 (made on first use); `shift` as typed, "+03:00".
    std::shared_ptr<chl_local_list> channel(const std::string& name,
                                            const std::string& shift = "00:00",
                                            const std::string& button = "") {
        if (store->chl_groups.empty()) store->add_chl_group(1, "Тест"_cp, "");
        const std::int32_t id = std::int32_t(store->channels.size()) + 1;
        auto ch = store->add_channel(id, to_cp1251(name), "", "00000000", -1);
        return store->add_chl_local(*store->chl_groups[0], -1, id, ch, to_cp1251(name), "", shift,
                                    to_cp1251(button), -1);
    }

    // A programme; genre (family, sub) 1/1 "Новости" unless given; family 0 means none.
    std::shared_ptr<tvprog_serv_list> prog(const std::shared_ptr<chl_local_list>& member,
                                           const std::string& start, const std::string& finish,
                                           const std::string& title, std::int32_t family = 1,
                                           std::int32_t sub = 1) {
        return test::add_programme(*store, *member, start, finish, title, family, sub);
    }

    // Options for a page at the clock's moment with group 0 and every member chosen.
    views::PageOptions options(views::ProgramPage page) const {
        views::PageOptions o;
        o.page = page;
        o.now = clock->now();
        o.panels.group = 0;
        if (!store->chl_groups.empty())
            o.panels.chosen.assign(store->chl_groups[0]->members.size(), 1);
        return o;
    }

    // "<channel> <start text> <title>" per row, UTF-8, to compare lists at a glance.
    std::vector<std::string> shown() const {
        std::vector<std::string> out;
        for (const auto& r : list.rows())
            out.push_back(to_utf8(r.member->name) + " " + to_utf8(r.start_text) + " " +
                          to_utf8(r.prog->title));
        return out;
    }
};

}  // namespace zt::test
