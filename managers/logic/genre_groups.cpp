#include "managers/logic/genre_groups.h"

#include <algorithm>

#include "core/collation.h"
#include "core/genres.h"
#include "core/store.h"
#include "managers/logic/list_moves.h"
#include "managers/logic/short_text.h"

namespace zt::managers {

std::shared_ptr<type_group_list> create_type_group(all_list& store) {
    return add_type_group(store, -1, "");
}

void remove_type_group(all_list& store, const type_group_list& group) {
    std::erase_if(store.type_groups, [&](const auto& g) { return g.get() == &group; });
}

std::vector<RemovedTypeGroup> delete_type_groups(all_list& store, const std::vector<int>& rows) {
    std::vector<RemovedTypeGroup> removed;
    const auto valid = valid_rows(rows, store.type_groups.size());
    for (int r : valid) removed.push_back({static_cast<std::size_t>(r), store.type_groups[r]});
    for (auto it = valid.rbegin(); it != valid.rend(); ++it)
        store.type_groups.erase(store.type_groups.begin() + *it);
    return removed;
}

void undelete_type_groups(all_list& store, const std::vector<RemovedTypeGroup>& removed) {
    auto& list = store.type_groups;
    for (const auto& r : removed) {
        const auto at = std::min(r.position, list.size());
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), r.group);
    }
}

std::optional<std::string> rename_type_group(all_list& store, int row, std::string name) {
    if (row < 0 || static_cast<std::size_t>(row) >= store.type_groups.size()) return std::nullopt;
    auto& group = *store.type_groups[row];
    std::string before = std::move(group.name);
    group.name = std::move(name);
    return before;
}

bool move_type_group(all_list& store, int from, int to) {
    return move_entry(store.type_groups, from, to);
}

std::vector<std::shared_ptr<type_group_list>> sort_type_groups(all_list& store) {
    auto before = store.type_groups;
    sort_by_name(store.type_groups);
    return before;
}

void restore_type_group_order(all_list& store,
                              std::vector<std::shared_ptr<type_group_list>> order) {
    store.type_groups = std::move(order);
}

std::vector<bool> group_ticks(const all_list& store, const type_group_list* group) {
    std::vector<bool> ticks(store.types.size(), false);
    if (!group) return ticks;
    for (const auto& m : group->members)
        if (m.row >= 0 && static_cast<std::size_t>(m.row) < ticks.size()) ticks[m.row] = true;
    return ticks;
}

void carry_ticks(const all_list& store, std::vector<bool>& ticks) {
    ticks.resize(store.types.size(), false);
    bool carry = false;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        if (store.types[i]->sub == -1) {
            carry = ticks[i];
            ticks[i] = false;
        } else if (carry) {
            ticks[i] = true;
        }
    }
}

std::vector<type_group_member> ticked_members(const all_list& store,
                                              const std::vector<bool>& ticks) {
    std::vector<type_group_member> members;
    for (std::size_t i = 0; i < ticks.size() && i < store.types.size(); ++i)
        if (ticks[i] && store.types[i]->sub != -1)
            members.push_back({store.types[i]->id, static_cast<std::int32_t>(i)});
    return members;
}

std::vector<type_group_member> set_type_group_members(type_group_list& group,
                                                      std::vector<type_group_member> members) {
    std::swap(group.members, members);
    return members;
}

void apply_tick_command(const all_list& store, std::vector<bool>& ticks, TickCommand command) {
    ticks.resize(store.types.size(), false);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const bool family = store.types[i]->sub == -1;
        switch (command) {
            case TickCommand::all:
                ticks[i] = !family;
                break;
            case TickCommand::invert:
                ticks[i] = !family && !ticks[i];
                break;
            case TickCommand::none:
                ticks[i] = false;
                break;
        }
    }
}

std::string in_groups_text(const all_list& store, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= store.types.size()) return {};
    const auto& type = *store.types[row];
    if (type.sub == -1) return {};
    return type_group_count(store, type);
}

std::optional<std::string> set_type_abbr(all_list& store, int row, std::string abbr) {
    if (row < 0 || static_cast<std::size_t>(row) >= store.types.size()) return std::nullopt;
    if (abbr.size() > kShortTextBytes) return std::nullopt;
    auto& type = *store.types[row];
    std::string before = std::move(type.abbr);
    type.abbr = std::move(abbr);
    return before;
}

}  // namespace zt::managers
