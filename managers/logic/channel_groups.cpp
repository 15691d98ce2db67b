#include "managers/logic/channel_groups.h"

#include <algorithm>

#include "core/collation.h"
#include "core/store.h"

namespace zt {

group_ptr create_group(all_list& store, std::string name, std::string descr) {
    return store.add_chl_group(-1, std::move(name), std::move(descr));
}

group_ptr copy_group(all_list& store, const chl_group_list& source) {
    // `source` may be a group of the list that grows below: take its members first.
    const auto members = source.members;
    auto copy = store.add_chl_group(-1, "", "");
    if (!copy) return nullptr;
    for (const auto& m : members)
        store.add_chl_local(*copy, -1, m->chl_id, m->chl, m->name, m->descr, m->shift_text,
                            m->button, m->logo);
    store.recount_chl_groups();
    return copy;
}

void drop_last_group(all_list& store) {
    if (store.chl_groups.empty()) return;
    store.chl_groups.pop_back();
    if (store.cur_group >= std::int32_t(store.chl_groups.size())) store.cur_group = -1;
    store.recount_chl_groups();
}

removed_groups delete_groups(all_list& store, const std::vector<int>& rows) {
    removed_groups removed;
    removed.cur_group = store.cur_group;
    removed.groups = take_rows(store.chl_groups, rows);
    store.cur_group = store.chl_groups.empty() ? -1 : 0;
    store.recount_chl_groups();
    return removed;
}

void restore_groups(all_list& store, const removed_groups& removed) {
    put_rows(store.chl_groups, removed.groups);
    store.cur_group = removed.cur_group;
    store.recount_chl_groups();
}

void sort_groups(all_list& store) {
    sort_by_name(store.chl_groups);
    store.cur_group = store.chl_groups.empty() ? -1 : 0;
}

long long button_number(std::string_view button) {
    long long value = 0;
    for (char c : button) {
        if (c < '0' || c > '9') break;
        // Saturates: a long run of digits still sorts after every shorter number.
        if (value < 100000000000000000LL) value = value * 10 + (c - '0');
    }
    return value;
}

void sort_members_by_button(chl_group_list& group) {
    std::stable_sort(group.members.begin(), group.members.end(), [](const auto& a, const auto& b) {
        return button_number(a->button) < button_number(b->button);
    });
}

void sort_members_by_name(chl_group_list& group) {
    sort_by_name(group.members);
}

void number_members(chl_group_list& group) {
    for (std::size_t i = 0; i < group.members.size(); ++i)
        group.members[i]->button = std::to_string(i + 1);
}

std::vector<member_ptr> add_channels(all_list& store, chl_group_list& group,
                                     const std::vector<channel_ptr>& channels) {
    std::vector<member_ptr> added;
    for (const auto& c : channels) {
        if (!c) continue;
        if (auto m = store.add_chl_local(group, -1, c->id, c, c->name, "", "", "", c->logo))
            added.push_back(std::move(m));
    }
    store.recount_chl_groups();
    return added;
}

void drop_last_members(all_list& store, chl_group_list& group, std::size_t count) {
    group.members.resize(group.members.size() - std::min(count, group.members.size()));
    store.recount_chl_groups();
}

taken_rows<member_ptr> remove_members(all_list& store, chl_group_list& group,
                                      const std::vector<int>& rows) {
    auto taken = take_rows(group.members, rows);
    store.recount_chl_groups();
    return taken;
}

void restore_members(all_list& store, chl_group_list& group, const taken_rows<member_ptr>& taken) {
    put_rows(group.members, taken);
    store.recount_chl_groups();
}

member_fields fields_of(const chl_local_list& member) {
    return {member.name, member.descr, member.shift_text, member.button};
}

void set_fields(chl_local_list& member, const member_fields& fields) {
    member.name = fields.name;
    member.descr = fields.descr;
    member.button = fields.button;
    set_shift(member, fields.shift_text);
}

void set_shift(chl_local_list& member, const std::string& shift_text) {
    member.shift_text = shift_text;
    member.shift = parse_shift(shift_text);
    member.shift_plus = shift_is_plus(shift_text);
}

shift_fields shift_fields_of(const chl_local_list& member) {
    std::string_view text = member.shift_text;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    const std::size_t colon = text.find(':');
    shift_fields f;
    f.plus = member.shift_plus == 1;
    f.hours = std::string(text.substr(0, colon));
    f.minutes =
        colon == std::string_view::npos ? std::string() : std::string(text.substr(colon + 1));
    return f;
}

removed_channels delete_channels(all_list& store, const std::vector<int>& rows) {
    removed_channels removed;
    removed.channels = take_rows(store.channels, rows);
    for (const auto& g : store.chl_groups) {
        auto members = take_if(g->members, [&](const member_ptr& m) {
            return std::any_of(removed.channels.begin(), removed.channels.end(),
                               [&](const auto& c) { return c.second->id == m->chl_id; });
        });
        if (!members.empty()) removed.members.emplace_back(g, std::move(members));
    }
    store.recount_chl_groups();
    return removed;
}

void restore_channels(all_list& store, const removed_channels& removed) {
    put_rows(store.channels, removed.channels);
    for (const auto& [group, members] : removed.members) put_rows(group->members, members);
    store.recount_chl_groups();
}

void sort_channels_by_id(all_list& store) {
    std::stable_sort(store.channels.begin(), store.channels.end(),
                     [](const auto& a, const auto& b) { return a->id < b->id; });
}

void sort_channels_by_name(all_list& store) {
    sort_by_name(store.channels);
}

}  // namespace zt
