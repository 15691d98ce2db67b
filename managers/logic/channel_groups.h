#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/records.h"
#include "core/time_zones.h"
#include "managers/logic/list_rows.h"

namespace zt {

class all_list;

// The channel-group commands of the manager as operations on the store. Every operation that
// changes who is in which group ends with recount_chl_groups. Those an undo must take back
// return what they removed or replaced; the matching restore puts it back exactly.

using group_ptr = std::shared_ptr<chl_group_list>;
using member_ptr = std::shared_ptr<chl_local_list>;
using channel_ptr = std::shared_ptr<chl_serv_list>;

// --- groups

// "Создать группу": a new last group; an empty name becomes "Новая " + its id. Null when no
// id is left.
group_ptr create_group(all_list& store, std::string name, std::string descr);
// "Копировать группу": a new last group named "Новая " + its id holding a copy of every
// member of `source` in order (own name, description, shift, button, logo). Null when no id
// is left.
group_ptr copy_group(all_list& store, const chl_group_list& source);
// Takes the last group away again (the inverse of create and copy).
void drop_last_group(all_list& store);

// "Удалить отмеченные группы": removes the groups at `rows`; afterwards the first remaining
// group is current, or none.
struct removed_groups final {
    taken_rows<group_ptr> groups;
    std::int32_t cur_group = -1;  // before the removal
};
removed_groups delete_groups(all_list& store, const std::vector<int>& rows);
void restore_groups(all_list& store, const removed_groups& removed);

// "Сортировать по алфавиту": stable, by name, Russian and case-sensitive; the first group
// becomes current.
void sort_groups(all_list& store);

// --- members of a group

// The value of a button number for "Сортировать по кнопкам": its leading decimal digits;
// empty or starting with anything else counts as 0.
long long button_number(std::string_view button);
// "Сортировать по кнопкам" and "Сортировать по алфавиту" (both stable).
void sort_members_by_button(chl_group_list& group);
void sort_members_by_name(chl_group_list& group);
// "Пронумеровать": button = position, "1" for the first.
void number_members(chl_group_list& group);

// "Добавить отмеченные каналы в группу": appends a member for each channel in order (shift
// "00:00", no button), also for a channel already in the group. Returns the new members.
std::vector<member_ptr> add_channels(all_list& store, chl_group_list& group,
                                     const std::vector<channel_ptr>& channels);
// Takes the last `count` members away again (the inverse of add_channels).
void drop_last_members(all_list& store, chl_group_list& group, std::size_t count);

// "Удалить отмеченные каналы" of the group's list.
taken_rows<member_ptr> remove_members(all_list& store, chl_group_list& group,
                                      const std::vector<int>& rows);
void restore_members(all_list& store, chl_group_list& group, const taken_rows<member_ptr>& taken);

// What "Изменить канал" edits of a member. Setting them derives `shift` and `shift_plus`
// from `shift_text`.
struct member_fields final {
    std::string name;
    std::string descr;
    std::string shift_text;
    std::string button;
    bool operator==(const member_fields&) const = default;
};
member_fields fields_of(const chl_local_list& member);
void set_fields(chl_local_list& member, const member_fields& fields);
// Sets a member's shift text with its magnitude and sign.
void set_shift(chl_local_list& member, const std::string& shift_text);
// The sign, hours and minutes the shift dialogs show for a member's shift: the text before
// and after the ":" without the sign.
shift_fields shift_fields_of(const chl_local_list& member);

// --- delivered channels

// "Удалить отмеченные каналы" of the available list: the channels at `rows` leave the store
// and every group.
struct removed_channels final {
    taken_rows<channel_ptr> channels;
    std::vector<std::pair<group_ptr, taken_rows<member_ptr>>> members;
};
removed_channels delete_channels(all_list& store, const std::vector<int>& rows);
void restore_channels(all_list& store, const removed_channels& removed);

// "Сортировать по ID" and "Сортировать по алфавиту" of the available list (both stable).
void sort_channels_by_id(all_list& store);
void sort_channels_by_name(all_list& store);

}  // namespace zt
