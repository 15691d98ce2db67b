#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/love_entries.h"
#include "core/records.h"

namespace zt {
class all_list;
}

namespace zt::managers {

// The commands of the favourites manager on one channel's `love` list. Deleting and switching
// are the programme lists' own operations (core/love_entries.h); adding, editing and moving are
// the manager's. Each returns what its inverse needs, so an undo gives back the exact store.

// Indices in `channels` of the channels that have favourite entries, in list order (the
// channel box of the tab, built when the manager opens).
std::vector<int> love_channels(const all_list& store);

// Sets `liked` of the entries at `rows`; returns each row's value before (same order as the
// valid rows, ascending). Linked programmes keep their link and get no reminder from this.
struct LikedChange final {
    int row = 0;
    std::uint8_t before = 0;
};
std::vector<LikedChange> set_love_liked(chl_serv_list& channel, const std::vector<int>& rows,
                                        std::uint8_t liked);
void restore_love_liked(chl_serv_list& channel, const std::vector<LikedChange>& changes);

// Removes the entries at `rows`; every programme of the channel linked to one loses the link.
// The result lists them by ascending position.
std::vector<DroppedLove> delete_love_entries(chl_serv_list& channel, const std::vector<int>& rows);
void undelete_love_entries(chl_serv_list& channel, const std::vector<DroppedLove>& dropped);

// Why a title was refused.
enum class LoveTitleError { none, empty, duplicate, no_id_left };
// Why `title` cannot be given to the entry at `row` (-1: a new entry), or none.
LoveTitleError check_love_title(const chl_serv_list& channel, const std::string& title, int row);

// A new entry with `title` (CP1251) at the end of the list, seen `now`, linked like the
// programme lists' "Любимая" to every programme of the channel with that title in any letter
// case. Refused for an empty title, a title another entry has (ignoring case) and when the
// channel has no id left.
struct LoveAdded final {
    std::shared_ptr<love_list> entry;
    std::vector<LoveLink> links;
};
std::optional<LoveAdded> add_love_title(chl_serv_list& channel, std::string title,
                                        std::uint8_t liked, DateTime now,
                                        LoveTitleError* error = nullptr);
void remove_added_love(chl_serv_list& channel, const LoveAdded& added);

// Changes the title and kind of the entry at `row`. Programmes whose title no longer matches
// lose the link; programmes without a link whose title matches the new one get it.
struct LoveEdited final {
    int row = 0;
    std::string title_before;
    std::uint8_t liked_before = 0;
    std::vector<LoveLink> links;
};
std::optional<LoveEdited> edit_love_entry(chl_serv_list& channel, int row, std::string title,
                                          std::uint8_t liked, LoveTitleError* error = nullptr);
void undo_love_edit(chl_serv_list& channel, const LoveEdited& edited);

// The entry at `from` moves to `to`; false when nothing moved.
bool move_love_entry(chl_serv_list& channel, int from, int to);

// The periods of "Отметить сработавшие": caption (UTF-8) and days.
struct LovePeriod final {
    const char* caption;
    int days;
};
const std::array<LovePeriod, 8>& love_periods();

// The rows whose entry was last seen before `now` minus `days` days.
std::vector<int> rows_seen_before(const chl_serv_list& channel, DateTime now, int days);

}  // namespace zt::managers
