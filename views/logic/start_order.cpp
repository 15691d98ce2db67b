#include "views/logic/start_order.h"

#include <algorithm>
#include <numeric>

#include "core/records.h"

namespace zt::views {
namespace {

bool same_list(const std::vector<std::shared_ptr<tvprog_serv_list>>& list,
               const std::vector<std::shared_ptr<tvprog_serv_list>>& keep) {
    if (list.size() != keep.size()) return false;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() != keep[i].get()) return false;
    return true;
}

}  // namespace

StartOrder::Entry& StartOrder::entry(const chl_serv_list& channel) {
    Entry& e = m_entries[&channel];
    e.used = true;
    if (same_list(channel.tvprog, e.keep)) return e;
    e.keep = channel.tvprog;
    e.by_start.clear();
    e.longest = DateTime();
    bool ordered = true;
    for (std::size_t i = 0; i < e.keep.size(); ++i) {
        const tvprog_serv_list& p = *e.keep[i];
        if (p.finish - p.start > e.longest) e.longest = p.finish - p.start;
        if (i > 0 && p.start < e.keep[i - 1]->start) ordered = false;
    }
    if (!ordered) {
        e.by_start.resize(e.keep.size());
        std::iota(e.by_start.begin(), e.by_start.end(), std::uint32_t(0));
        std::stable_sort(
            e.by_start.begin(), e.by_start.end(),
            [&e](std::uint32_t a, std::uint32_t b) { return e.keep[a]->start < e.keep[b]->start; });
    }
    return e;
}

void StartOrder::starting_within(const chl_serv_list& channel, DateTime from, DateTime to,
                                 std::vector<std::uint32_t>& out) {
    out.clear();
    if (to < from) return;
    const Entry& e = entry(channel);
    const auto start_at = [&e](std::size_t k) {
        return e.by_start.empty() ? e.keep[k]->start : e.keep[e.by_start[k]]->start;
    };
    // The first of the order starting at `from` or later, then the first starting after `to`.
    std::size_t lo = 0, hi = e.keep.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (start_at(mid) < from)
            lo = mid + 1;
        else
            hi = mid;
    }
    const std::size_t first = lo;
    hi = e.keep.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (start_at(mid) <= to)
            lo = mid + 1;
        else
            hi = mid;
    }
    for (std::size_t k = first; k < lo; ++k)
        out.push_back(e.by_start.empty() ? std::uint32_t(k) : e.by_start[k]);
    if (!e.by_start.empty()) std::sort(out.begin(), out.end());
}

DateTime StartOrder::longest(const chl_serv_list& channel) {
    return entry(channel).longest;
}

void StartOrder::sweep() {
    std::erase_if(m_entries, [](auto& kv) { return !kv.second.used; });
    for (auto& [channel, e] : m_entries) e.used = false;
}

}  // namespace zt::views
