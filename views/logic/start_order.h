#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/datetime.h"

namespace zt {
struct chl_serv_list;
struct tvprog_serv_list;
}  // namespace zt

namespace zt::views {

// Each channel's programmes by start, so "Сейчас" and "Скоро" look at the few programmes near
// a moment instead of walking every programme of every channel. A channel's list is usually in
// start order already (files and downloads add the days in order), but the store only
// appends, so the order is kept here, not assumed.
//
// Kept between rebuilds: a channel's entry is made again when its list no longer holds the same
// programme objects in the same order (checked on the list itself, never on the programmes).
// The entry keeps those objects alive, so an address it compares never belongs to a new
// programme; a programme's start and finish never change once it is in the store.
class StartOrder final {
public:
    // The list positions, in list order, of the channel's programmes that start within
    // [from, to] (unshifted, both included).
    void starting_within(const chl_serv_list& channel, DateTime from, DateTime to,
                         std::vector<std::uint32_t>& out);
    // The longest a programme of the channel lasts (0 for none): every programme on air at a
    // moment started at most this long before it.
    DateTime longest(const chl_serv_list& channel);
    // Drops the entries of channels not asked for since the last call (deleted channels).
    void sweep();

private:
    struct Entry {
        std::vector<std::shared_ptr<tvprog_serv_list>> keep;
        // Positions by start, then position; empty when the list is in start order.
        std::vector<std::uint32_t> by_start;
        DateTime longest;
        bool used = false;
    };
    Entry& entry(const chl_serv_list& channel);
    std::unordered_map<const chl_serv_list*, Entry> m_entries;
};

}  // namespace zt::views
