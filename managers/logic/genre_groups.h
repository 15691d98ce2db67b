#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records.h"

namespace zt {
class all_list;
}

namespace zt::managers {

// The commands of the genre-groups manager on the store's `type_groups` and the genre
// catalogue. Each returns what its inverse needs, so an undo gives back the exact store.

// --- groups

// A new empty group "Новая <id>" at the end; null when no id is left.
std::shared_ptr<type_group_list> create_type_group(all_list& store);
// The inverse of create: removes that group (wherever it stands).
void remove_type_group(all_list& store, const type_group_list& group);

struct RemovedTypeGroup final {
    std::size_t position = 0;
    std::shared_ptr<type_group_list> group;
};
// Removes the groups at `rows` (any order, repeats and rows outside the list ignored); the
// result lists them by ascending position.
std::vector<RemovedTypeGroup> delete_type_groups(all_list& store, const std::vector<int>& rows);
void undelete_type_groups(all_list& store, const std::vector<RemovedTypeGroup>& removed);

// Sets the name of the group at `row`; returns the previous name (nullopt: no such row).
std::optional<std::string> rename_type_group(all_list& store, int row, std::string name);

// The group at `from` moves to `to`; false when nothing moved. The inverse swaps the two.
bool move_type_group(all_list& store, int from, int to);

// Sorts by name (Russian, case-sensitive, equal names keep their order); returns the order
// before, which restore_type_group_order puts back.
std::vector<std::shared_ptr<type_group_list>> sort_type_groups(all_list& store);
void restore_type_group_order(all_list& store, std::vector<std::shared_ptr<type_group_list>> order);

// --- membership: one tick per row of the genre catalogue

// The rows of the group's members ticked (all clear for no group).
std::vector<bool> group_ticks(const all_list& store, const type_group_list* group);

// The carry rule: walking the rows in order, a ticked family row is unticked and ticks every
// sub-genre up to the next family row; an unticked family row leaves its sub-genres as they are.
void carry_ticks(const all_list& store, std::vector<bool>& ticks);

// The members of the ticked sub-genre rows, in row order.
std::vector<type_group_member> ticked_members(const all_list& store,
                                              const std::vector<bool>& ticks);

// Sets the group's members; returns the previous ones.
std::vector<type_group_member> set_type_group_members(type_group_list& group,
                                                      std::vector<type_group_member> members);

// The genre list's context menu: "Пометить все", "Инверсия", "Снять со всех". Family rows end
// unticked in each case.
enum class TickCommand { all, invert, none };
void apply_tick_command(const all_list& store, std::vector<bool>& ticks, TickCommand command);

// The "В группах" text of a genre row: "" on family rows, else the number of groups holding it.
std::string in_groups_text(const all_list& store, int row);

// --- abbreviations

// Sets the abbreviation of the genre at `row` (CP1251, at most 255 bytes: longer text is
// refused); returns the previous one, nullopt when nothing was set.
std::optional<std::string> set_type_abbr(all_list& store, int row, std::string abbr);

}  // namespace zt::managers
