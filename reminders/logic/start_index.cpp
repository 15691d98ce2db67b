#include "reminders/logic/start_index.h"

#include <algorithm>

#include "core/records.h"

namespace zt::reminders {
namespace {

bool same_list(const std::vector<std::shared_ptr<tvprog_serv_list>>& list,
               const std::vector<const tvprog_serv_list*>& order) {
    if (list.size() != order.size()) return false;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() != order[i]) return false;
    return true;
}

}  // namespace

const std::vector<StartIndex::Slot>& StartIndex::starts(const chl_serv_list& channel) {
    Entry& e = m_entries[&channel];
    e.used = true;
    if (same_list(channel.tvprog, e.order)) return e.sorted;
    e.keep = channel.tvprog;
    e.order.resize(e.keep.size());
    e.sorted.resize(e.keep.size());
    for (std::size_t i = 0; i < e.keep.size(); ++i) {
        e.order[i] = e.keep[i].get();
        e.sorted[i] = {e.keep[i]->start.minutes(), std::uint32_t(i)};
    }
    std::sort(e.sorted.begin(), e.sorted.end());
    return e.sorted;
}

void StartIndex::sweep() {
    std::erase_if(m_entries, [](auto& kv) { return !kv.second.used; });
    for (auto& [channel, e] : m_entries) e.used = false;
}

}  // namespace zt::reminders
