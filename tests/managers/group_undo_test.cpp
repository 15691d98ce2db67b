#include <gtest/gtest.h>

#include <QUndoStack>
#include <functional>
#include <sstream>

#include "core/store.h"
#include "managers/logic/channel_group_commands.h"
#include "test_support.h"
#include "tools/json/store_json.h"

namespace zt {
namespace {

std::string dump(const all_list& store) {
    std::ostringstream out;
    write_store_json(out, store, {}, {});
    out << "\ncur_group " << store.cur_group;
    return out.str();
}

// Every command: undo gives back the exact store (same records, same order, same values), and
// redo after undo gives back what the first run made.
TEST(GroupUndo, EveryCommandUndoesAndRedoesExactly) {
    auto store = test::make_store(test::at("2026-12-10 12:00"));
    // Neither in id nor in name order.
    for (int id : {3, 1, 5, 2, 4})
        store->add_channel(id, "c" + std::to_string(id * 7 % 5), "", "00000000", -1);
    for (int g = 0; g < 3; ++g) {
        auto group = store->add_chl_group(-1, "g" + std::to_string(3 - g), "");
        for (int i = 1; i <= 5; i += g + 1)
            store->add_chl_local(*group, -1, i, nullptr, "", "", i % 2 ? "+01:00" : "",
                                 std::to_string(10 - i), -1);
    }
    store->recount_chl_groups();
    store->cur_group = 1;
    all_list& s = *store;
    auto g0 = s.chl_groups[0];
    namespace gc = group_commands;
    const std::vector<std::pair<const char*, std::function<gc::Command()>>> commands = {
        {"create", [&] { return gc::create_group(s, "", "d"); }},
        {"copy", [&] { return gc::copy_group(s, g0); }},
        {"edit group", [&] { return gc::edit_group(s, g0, "n", "d"); }},
        {"delete groups",
         [&] {
             return gc::delete_groups(s, {0, 2});
         }},
        {"delete current", [&] { return gc::delete_groups(s, {1}); }},
        {"move group down", [&] { return gc::move_group(s, 0, 2); }},
        {"move group up", [&] { return gc::move_group(s, 2, 1); }},
        {"sort groups", [&] { return gc::sort_groups(s); }},
        {"add channels",
         [&] {
             return gc::add_channels(s, g0, {s.channels[1], s.channels[1]});
         }},
        {"remove members",
         [&] {
             return gc::remove_members(s, g0, {0, 2});
         }},
        {"edit member",
         [&] {
             return gc::edit_member(s, g0->members[1], {"x", "y", "-02:30", "7"});
         }},
        {"set shift", [&] { return gc::set_shift(s, g0->members, "+05:00"); }},
        {"move member", [&] { return gc::move_member(s, g0, 4, 0); }},
        {"number", [&] { return gc::number_members(s, g0); }},
        {"sort by button", [&] { return gc::sort_members_by_button(s, g0); }},
        {"sort members", [&] { return gc::sort_members_by_name(s, g0); }},
        {"delete channels",
         [&] {
             return gc::delete_channels(s, {0, 3});
         }},
        {"sort channels by id", [&] { return gc::sort_channels_by_id(s); }},
        {"sort channels", [&] { return gc::sort_channels_by_name(s); }},
    };
    for (const auto& [name, make] : commands) {
        QUndoStack stack;
        const std::string before = dump(s);
        const auto groups_before = s.chl_groups;
        const auto members_before = g0->members;
        const auto channels_before = s.channels;
        stack.push(make().release());
        const std::string after = dump(s);
        EXPECT_NE(after, before) << name;
        stack.undo();
        EXPECT_EQ(dump(s), before) << name;
        EXPECT_EQ(s.chl_groups, groups_before) << name;
        EXPECT_EQ(g0->members, members_before) << name;
        EXPECT_EQ(s.channels, channels_before) << name;
        stack.redo();
        EXPECT_EQ(dump(s), after) << name;
        stack.undo();
        EXPECT_EQ(dump(s), before) << name;
    }
}

}  // namespace
}  // namespace zt
