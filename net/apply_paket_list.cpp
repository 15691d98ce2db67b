#include "net/apply_paket_list.h"

#include <unordered_map>

namespace zt::net {

void ReadPaketList(SelectionLists& lists, const protocol::PaketList& list, Progress& progress) {
    const std::size_t total = list.channels.size() + list.pakets.size();
    std::size_t done = 0;
    // The first channel and the first package of each id, looked up instead of searched for:
    // lists of tens of thousands of entries stay linear.
    std::unordered_map<std::int32_t, std::shared_ptr<update_channel_list>> channel_of;
    for (const auto& c : lists.update_channels) channel_of.emplace(c->id, c);
    std::unordered_map<std::int32_t, std::int32_t> image_of;
    for (const auto& p : lists.update_pakets) image_of.emplace(p->id, p->image);
    for (const auto& c : list.channels) {
        auto rec = std::make_shared<update_channel_list>();
        rec->id = c.id;
        rec->name = c.name;
        rec->descr = c.descr;
        rec->stamp = c.stamp;
        lists.channels16.push_back(c.logo16);
        lists.channels24.push_back(c.logo24);
        lists.channels32.push_back(c.logo32);
        rec->logo = std::int32_t(lists.channels32.size() - 1);
        channel_of.emplace(rec->id, rec);
        lists.update_channels.push_back(std::move(rec));
        progress.job_progress(int(++done * 100 / total));
    }
    for (const auto& p : list.pakets) {
        auto rec = std::make_shared<update_paket_list>();
        rec->id = p.id;
        rec->parent = p.parent;
        rec->name = p.name;
        rec->descr = p.descr;
        if (!p.picture16.empty() || !p.picture32.empty()) {
            lists.pakets16.push_back(p.picture16);
            lists.pakets32.push_back(p.picture32);
            rec->image = std::int32_t(lists.pakets32.size() - 1);
        }
        if (rec->parent > 0 && rec->image == 0)
            if (const auto it = image_of.find(rec->parent); it != image_of.end())
                rec->image = it->second;
        for (const auto& e : p.entries) {
            const auto it = channel_of.find(e.channel_id);
            rec->channels.push_back({e.channel_id, e.shift, e.button,
                                     it == channel_of.end() ? nullptr : it->second, 0});
        }
        image_of.emplace(rec->id, rec->image);
        lists.update_pakets.push_back(std::move(rec));
        progress.job_progress(int(++done * 100 / total));
    }
}

void BuildPaketTree(SelectionLists& lists, Progress& progress) {
    const auto& pakets = lists.update_pakets;
    std::unordered_map<std::int32_t, std::int32_t> first_of;  // id -> its first position
    for (std::size_t i = 0; i < pakets.size(); ++i) {
        update_paket_list& p = *pakets[i];
        p.parent_node = -1;
        if (p.parent > 0)
            if (const auto it = first_of.find(p.parent); it != first_of.end())
                p.parent_node = it->second;
        first_of.emplace(p.id, std::int32_t(i));
        p.tree_pos = std::int32_t(i);
        progress.job_progress(int((i + 1) * 100 / pakets.size()));
    }
}

void ApplySelection(all_list& store, SelectionLists& lists, bool create_groups) {
    for (const auto& p : lists.update_pakets)
        for (const auto& e : p->channels)
            if (e.ticked == 1 && e.channel) e.channel->selected = 1;
    for (const auto& c : lists.update_channels) {
        if (c->selected != 1 || store.find_channel(c->id)) continue;
        const auto at = [&](const std::vector<std::string>& images) {
            return c->logo >= 0 && std::size_t(c->logo) < images.size() ? images[c->logo]
                                                                        : std::string();
        };
        const std::int32_t logo =
            store.add_logo({at(lists.channels16), at(lists.channels24), at(lists.channels32)});
        store.add_channel(c->id, c->name, c->descr, c->stamp, logo);
    }
    for (const auto& p : lists.update_pakets)
        for (const auto& e : p->channels)
            if (e.ticked == 1) p->selected = 1;
    if (create_groups) {
        for (const auto& p : lists.update_pakets) {
            if (p->selected != 1) continue;
            const auto group = store.add_chl_group(-1, p->name, "");
            if (!group) break;  // no group id left: the channels stay in the groups they have
            for (const auto& e : p->channels)
                if (e.ticked == 1)
                    store.add_chl_local(*group, -1, e.chl_id, nullptr, "", "", e.shift_text,
                                        e.button, -1);
        }
        store.recount_chl_groups();
    }
    store.ensure_default_group();
}

}  // namespace zt::net
