#include "managers/logic/favourites.h"

#include <algorithm>
#include <utility>

#include "core/cp1251.h"
#include "core/store.h"
#include "managers/logic/list_moves.h"

namespace zt::managers {

std::vector<int> love_channels(const all_list& store) {
    std::vector<int> out;
    for (std::size_t i = 0; i < store.channels.size(); ++i)
        if (!store.channels[i]->love.empty()) out.push_back(static_cast<int>(i));
    return out;
}

std::vector<LikedChange> set_love_liked(chl_serv_list& channel, const std::vector<int>& rows,
                                        std::uint8_t liked) {
    std::vector<LikedChange> changes;
    for (int r : valid_rows(rows, channel.love.size())) {
        changes.push_back({r, channel.love[r]->liked});
        channel.love[r]->liked = liked;
    }
    return changes;
}

void restore_love_liked(chl_serv_list& channel, const std::vector<LikedChange>& changes) {
    for (const auto& c : changes)
        if (static_cast<std::size_t>(c.row) < channel.love.size())
            channel.love[c.row]->liked = c.before;
}

std::vector<DroppedLove> delete_love_entries(chl_serv_list& channel, const std::vector<int>& rows) {
    const auto valid = valid_rows(rows, channel.love.size());
    std::vector<std::shared_ptr<love_list>> entries;
    for (int r : valid) entries.push_back(channel.love[r]);
    std::vector<DroppedLove> dropped;
    // Last first, so each recorded position is the entry's place in the list before the command.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        dropped.push_back(drop_love_entry(channel, *it));
    std::reverse(dropped.begin(), dropped.end());
    return dropped;
}

void undelete_love_entries(chl_serv_list& channel, const std::vector<DroppedLove>& dropped) {
    for (const auto& d : dropped) undrop_love_entry(channel, d);
}

LoveTitleError check_love_title(const chl_serv_list& channel, const std::string& title, int row) {
    if (title.empty()) return LoveTitleError::empty;
    for (std::size_t i = 0; i < channel.love.size(); ++i)
        if (static_cast<int>(i) != row && cp1251_iequal(channel.love[i]->title, title))
            return LoveTitleError::duplicate;
    if (row < 0 && !next_id(channel.love)) return LoveTitleError::no_id_left;
    return LoveTitleError::none;
}

namespace {

void report(LoveTitleError* error, LoveTitleError value) {
    if (error) *error = value;
}

}  // namespace

std::optional<LoveAdded> add_love_title(chl_serv_list& channel, std::string title,
                                        std::uint8_t liked, DateTime now, LoveTitleError* error) {
    const auto refused = check_love_title(channel, title, -1);
    report(error, refused);
    if (refused != LoveTitleError::none) return std::nullopt;
    LoveAdded added;
    added.entry = new_love_entry(channel, std::move(title), liked, now);
    if (!added.entry) return std::nullopt;
    added.links = link_love_title(channel, added.entry, false);
    return added;
}

void remove_added_love(chl_serv_list& channel, const LoveAdded& added) {
    restore_love_links(added.links);
    std::erase(channel.love, added.entry);
}

std::optional<LoveEdited> edit_love_entry(chl_serv_list& channel, int row, std::string title,
                                          std::uint8_t liked, LoveTitleError* error) {
    if (row < 0 || static_cast<std::size_t>(row) >= channel.love.size()) return std::nullopt;
    const auto refused = check_love_title(channel, title, row);
    report(error, refused);
    if (refused != LoveTitleError::none) return std::nullopt;
    const auto& entry = channel.love[row];
    LoveEdited edited;
    edited.row = row;
    edited.liked_before = entry->liked;
    entry->liked = liked;
    edited.title_before = std::exchange(entry->title, std::move(title));
    if (cp1251_iequal(edited.title_before, entry->title)) return edited;  // same programmes
    edited.links = unlink_love_entry(channel, *entry);
    auto linked = link_love_title(channel, entry, true);
    edited.links.insert(edited.links.end(), linked.begin(), linked.end());
    return edited;
}

void undo_love_edit(chl_serv_list& channel, const LoveEdited& edited) {
    if (static_cast<std::size_t>(edited.row) >= channel.love.size()) return;
    auto& entry = *channel.love[edited.row];
    restore_love_links(edited.links);
    entry.title = edited.title_before;
    entry.liked = edited.liked_before;
}

bool move_love_entry(chl_serv_list& channel, int from, int to) {
    return move_entry(channel.love, from, to);
}

const std::array<LovePeriod, 8>& love_periods() {
    static const std::array<LovePeriod, 8> periods{{
        {"7 дней назад и более", 7},
        {"14 дней назад и более", 14},
        {"21 день назад и более", 21},
        {"1 месяц назад и более", 31},
        {"2 месяца назад и более", 62},
        {"3 месяца назад и более", 93},
        {"6 месяцев назад и более", 182},
        {"1 год назад и более", 365},
    }};
    return periods;
}

std::vector<int> rows_seen_before(const chl_serv_list& channel, DateTime now, int days) {
    const DateTime limit = now.addDays(-days);
    std::vector<int> rows;
    for (std::size_t i = 0; i < channel.love.size(); ++i)
        if (channel.love[i]->seen < limit) rows.push_back(static_cast<int>(i));
    return rows;
}

}  // namespace zt::managers
