#include "core/love_entries.h"

#include <algorithm>

#include "core/cp1251.h"
#include "core/store.h"

namespace zt {

std::shared_ptr<love_list> new_love_entry(chl_serv_list& channel, std::string title,
                                          std::uint8_t liked, DateTime seen) {
    const auto id = next_id(channel.love);
    if (!id) return nullptr;
    auto entry = std::make_shared<love_list>();
    entry->id = *id;
    entry->title = std::move(title);
    entry->liked = liked;
    entry->seen = seen;
    channel.love.push_back(entry);
    return entry;
}

std::vector<LoveLink> link_love_title(chl_serv_list& channel,
                                      const std::shared_ptr<love_list>& entry, bool only_unlinked) {
    std::vector<LoveLink> changes;
    const std::string title = cp1251_lower(entry->title);
    for (const auto& p : channel.tvprog) {
        if (p->love == entry || (only_unlinked && p->love)) continue;
        if (cp1251_lower(p->title) != title) continue;
        changes.push_back({p, p->love});
        p->love = entry;
    }
    return changes;
}

std::vector<LoveLink> unlink_love_entry(chl_serv_list& channel, const love_list& entry) {
    std::vector<LoveLink> changes;
    for (const auto& p : channel.tvprog) {
        if (p->love.get() != &entry) continue;
        changes.push_back({p, p->love});
        p->love = nullptr;
    }
    return changes;
}

void restore_love_links(const std::vector<LoveLink>& changes) {
    for (auto it = changes.rbegin(); it != changes.rend(); ++it) it->prog->love = it->before;
}

DroppedLove drop_love_entry(chl_serv_list& channel, std::shared_ptr<love_list> entry) {
    DroppedLove dropped;
    dropped.entry = std::move(entry);
    dropped.links = unlink_love_entry(channel, *dropped.entry);
    auto& list = channel.love;
    const auto it = std::find(list.begin(), list.end(), dropped.entry);
    dropped.position = static_cast<std::size_t>(it - list.begin());
    if (it != list.end()) list.erase(it);
    return dropped;
}

void undrop_love_entry(chl_serv_list& channel, const DroppedLove& dropped) {
    auto& list = channel.love;
    const auto at = std::min(dropped.position, list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), dropped.entry);
    restore_love_links(dropped.links);
}

}  // namespace zt
