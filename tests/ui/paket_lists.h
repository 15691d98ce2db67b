#pragma once

#include <memory>
#include <string>

#include "core/cp1251.h"
#include "net/selection.h"

namespace zt::test {

// Two packages of the server's list: the first with a description and two channels, the
// second ("Без описания") with one channel and no description.
inline net::SelectionLists two_pakets() {
    net::SelectionLists lists;
    for (int id : {1, 2, 3}) {
        auto c = std::make_shared<net::update_channel_list>();
        c->id = id;
        c->name = to_cp1251("Канал " + std::to_string(id));
        lists.update_channels.push_back(c);
    }
    auto p1 = std::make_shared<net::update_paket_list>();
    p1->id = 10;
    p1->name = to_cp1251("Основной");
    p1->descr = to_cp1251("Описание <b>пакета</b>");
    p1->tree_pos = 0;
    p1->channels = {{1, "+01:00", "5", lists.update_channels[0], 0},
                    {2, "", "", lists.update_channels[1], 1}};
    auto p2 = std::make_shared<net::update_paket_list>();
    p2->id = 20;
    p2->name = to_cp1251("Без описания");
    p2->tree_pos = 1;
    p2->channels = {{3, "", "", lists.update_channels[2], 0}};
    lists.update_pakets = {p1, p2};
    return lists;
}

}  // namespace zt::test
