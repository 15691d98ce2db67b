#include "net/xmltv_day.h"

#include <algorithm>

namespace zt::net {

protocol::ProgEntry entry_of(const xmltv::Programme& p) {
    protocol::ProgEntry e;
    e.start = p.start;
    e.finish = p.finish;
    e.type_family = std::uint8_t(std::max(p.type_family, 0));
    e.type_sub = p.type_family < 0 ? 0 : std::uint8_t(std::max(p.type_sub, 0));
    e.rating = std::uint8_t(std::clamp(p.rating, 0, 100));
    e.title = p.title;
    e.descr = p.descr;
    return e;
}

void place_in_day(std::vector<protocol::ProgEntry>& day, protocol::ProgEntry e) {
    if (day.empty() || !(e.start < day.back().start)) {
        const std::int32_t last = day.empty() ? 0 : day.back().id;
        e.id = std::max<std::int32_t>(std::int32_t(e.start.minutes()), last + 1);
        day.push_back(std::move(e));
        return;
    }
    const auto at = std::upper_bound(
        day.begin(), day.end(), e.start,
        [](const DateTime& start, const protocol::ProgEntry& x) { return start < x.start; });
    day.insert(at, std::move(e));
    std::int32_t last = 0;
    for (auto& x : day)
        last = x.id = std::max<std::int32_t>(std::int32_t(x.start.minutes()), last + 1);
}

}  // namespace zt::net
