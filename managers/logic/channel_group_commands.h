#pragma once

#include <QUndoCommand>
#include <memory>
#include <vector>

#include "managers/logic/channel_groups.h"

namespace zt {

// The manager's channel-group commands as undo commands (for a QUndoStack, which owns them
// once pushed). Each calls the operation of channel_groups.h forwards and its inverse
// backwards; a redo after an undo puts back the very records the first run made.
namespace group_commands {

using Command = std::unique_ptr<QUndoCommand>;

Command create_group(all_list& store, std::string name, std::string descr);
Command copy_group(all_list& store, group_ptr source);
Command edit_group(all_list& store, group_ptr group, std::string name, std::string descr);
Command delete_groups(all_list& store, std::vector<int> rows);
// Moves a group; the moved group becomes current.
Command move_group(all_list& store, std::size_t from, std::size_t to);
Command sort_groups(all_list& store);

Command add_channels(all_list& store, group_ptr group, std::vector<channel_ptr> channels);
Command remove_members(all_list& store, group_ptr group, std::vector<int> rows);
Command edit_member(all_list& store, member_ptr member, member_fields fields);
// The same shift text on every member given.
Command set_shift(all_list& store, std::vector<member_ptr> members, std::string shift_text);
Command move_member(all_list& store, group_ptr group, std::size_t from, std::size_t to);
Command number_members(all_list& store, group_ptr group);
Command sort_members_by_button(all_list& store, group_ptr group);
Command sort_members_by_name(all_list& store, group_ptr group);

Command delete_channels(all_list& store, std::vector<int> rows);
Command sort_channels_by_id(all_list& store);
Command sort_channels_by_name(all_list& store);

}  // namespace group_commands
}  // namespace zt
