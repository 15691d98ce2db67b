#include "managers/logic/channel_group_commands.h"

#include "core/store.h"
#include "managers/logic/store_command.h"

namespace zt::group_commands {

namespace {

Command make(all_list& store, const char* text, std::function<void()> forward,
             std::function<void()> backward) {
    return std::make_unique<StoreCommand>(store, QString::fromUtf8(text), std::move(forward),
                                          std::move(backward));
}

// A list's order before a sort, put back by the undo.
template <class List>
Command reorder(all_list& store, const char* text, List& list, std::function<void()> sort) {
    auto before = std::make_shared<List>(list);
    return make(store, text, std::move(sort), [&list, before] { list = *before; });
}

// Appends `group` the first time through `make_group`, later the same record again.
Command add_group(all_list& store, const char* text, std::function<group_ptr()> make_group) {
    auto made = std::make_shared<group_ptr>();
    return make(
        store, text,
        [&store, made, make_group] {
            if (*made) {
                store.chl_groups.push_back(*made);
                store.recount_chl_groups();
            } else {
                *made = make_group();
            }
        },
        [&store, made] {
            if (*made) drop_last_group(store);
        });
}

}  // namespace

Command create_group(all_list& store, std::string name, std::string descr) {
    return add_group(store, "создание группы",
                     [&store, name, descr] { return zt::create_group(store, name, descr); });
}

Command copy_group(all_list& store, group_ptr source) {
    return add_group(store, "копирование группы",
                     [&store, source] { return zt::copy_group(store, *source); });
}

Command edit_group(all_list& store, group_ptr group, std::string name, std::string descr) {
    const std::string old_name = group->name, old_descr = group->descr;
    return make(
        store, "изменение группы",
        [group, name, descr] {
            group->name = name;
            group->descr = descr;
        },
        [group, old_name, old_descr] {
            group->name = old_name;
            group->descr = old_descr;
        });
}

Command delete_groups(all_list& store, std::vector<int> rows) {
    auto removed = std::make_shared<removed_groups>();
    return make(
        store, "удаление групп",
        [&store, rows, removed] { *removed = zt::delete_groups(store, rows); },
        [&store, removed] { restore_groups(store, *removed); });
}

Command move_group(all_list& store, std::size_t from, std::size_t to) {
    return make(
        store, "перемещение группы",
        [&store, from, to] {
            if (move_row(store.chl_groups, from, to)) store.cur_group = std::int32_t(to);
        },
        [&store, from, to] { move_row(store.chl_groups, to, from); });
}

Command sort_groups(all_list& store) {
    return reorder(store, "сортировка групп", store.chl_groups,
                   [&store] { zt::sort_groups(store); });
}

Command add_channels(all_list& store, group_ptr group, std::vector<channel_ptr> channels) {
    auto added = std::make_shared<std::vector<member_ptr>>();
    auto done = std::make_shared<bool>(false);
    return make(
        store, "добавление каналов в группу",
        [&store, group, channels, added, done] {
            if (!*done) {
                *added = zt::add_channels(store, *group, channels);
                *done = true;
            } else {
                group->members.insert(group->members.end(), added->begin(), added->end());
                store.recount_chl_groups();
            }
        },
        [&store, group, added] { drop_last_members(store, *group, added->size()); });
}

Command remove_members(all_list& store, group_ptr group, std::vector<int> rows) {
    auto taken = std::make_shared<taken_rows<member_ptr>>();
    return make(
        store, "удаление каналов из группы",
        [&store, group, rows, taken] { *taken = zt::remove_members(store, *group, rows); },
        [&store, group, taken] { restore_members(store, *group, *taken); });
}

Command edit_member(all_list& store, member_ptr member, member_fields fields) {
    const member_fields old = fields_of(*member);
    return make(
        store, "изменение канала", [member, fields] { set_fields(*member, fields); },
        [member, old] { set_fields(*member, old); });
}

Command set_shift(all_list& store, std::vector<member_ptr> members, std::string shift_text) {
    std::vector<std::string> old;
    for (const auto& m : members) old.push_back(m->shift_text);
    return make(
        store, "изменение времени каналов",
        [members, shift_text] {
            for (const auto& m : members) zt::set_shift(*m, shift_text);
        },
        [members, old] {
            for (std::size_t i = 0; i < members.size(); ++i) zt::set_shift(*members[i], old[i]);
        });
}

Command move_member(all_list& store, group_ptr group, std::size_t from, std::size_t to) {
    return make(
        store, "перемещение канала", [group, from, to] { move_row(group->members, from, to); },
        [group, from, to] { move_row(group->members, to, from); });
}

Command number_members(all_list& store, group_ptr group) {
    std::vector<std::string> old;
    for (const auto& m : group->members) old.push_back(m->button);
    return make(
        store, "нумерация кнопок", [group] { zt::number_members(*group); },
        [group, old] {
            for (std::size_t i = 0; i < old.size() && i < group->members.size(); ++i)
                group->members[i]->button = old[i];
        });
}

Command sort_members_by_button(all_list& store, group_ptr group) {
    return reorder(store, "сортировка по кнопкам", group->members,
                   [group] { zt::sort_members_by_button(*group); });
}

Command sort_members_by_name(all_list& store, group_ptr group) {
    return reorder(store, "сортировка каналов группы", group->members,
                   [group] { zt::sort_members_by_name(*group); });
}

Command delete_channels(all_list& store, std::vector<int> rows) {
    auto removed = std::make_shared<removed_channels>();
    return make(
        store, "удаление каналов",
        [&store, rows, removed] { *removed = zt::delete_channels(store, rows); },
        [&store, removed] { restore_channels(store, *removed); });
}

Command sort_channels_by_id(all_list& store) {
    return reorder(store, "сортировка каналов по ID", store.channels,
                   [&store] { zt::sort_channels_by_id(store); });
}

Command sort_channels_by_name(all_list& store) {
    return reorder(store, "сортировка каналов", store.channels,
                   [&store] { zt::sort_channels_by_name(store); });
}

}  // namespace zt::group_commands
