#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zt {
struct chl_serv_list;
struct tvprog_serv_list;
}  // namespace zt

namespace zt::reminders {

// The programmes of each channel by start minute, so the minute scan looks at the few that
// start in the wanted minute instead of every programme of every channel (about 360,000 on a
// large schedule, each a separate heap object). Kept between scans: a channel's entry is
// rebuilt when its programme list no longer holds the same programme objects in the same
// order. The entry keeps those objects alive, so an address it compares can never belong to
// a new programme; a programme's start never changes after it was added to the store.
class StartIndex final {
public:
    using Slot = std::pair<std::int64_t, std::uint32_t>;  // start minute, list position

    // The channel's programmes sorted by start minute, then list position.
    const std::vector<Slot>& starts(const chl_serv_list& channel);
    // Drops the entries of channels not asked for since the last call (deleted channels).
    void sweep();

private:
    struct Entry {
        std::vector<const tvprog_serv_list*> order;
        std::vector<std::shared_ptr<tvprog_serv_list>> keep;
        std::vector<Slot> sorted;
        bool used = false;
    };
    std::unordered_map<const chl_serv_list*, Entry> m_entries;
};

}  // namespace zt::reminders
