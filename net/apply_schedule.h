#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/store.h"
#include "net/download_host.h"
#include "net/protocol/schedule_reply.h"

namespace zt::net {

// ApplyProgrammeDay: one day of programmes of a channel. With `inflate` the payload is a
// section's compressed data (read within `budget`, or a budget of its own); with `look_up` the
// store's channel of that id gets the day (its old programmes of the day are replaced; the
// user's marks, reminders and favourites carry over to the new programmes of the same id),
// otherwise the entries are only read past. The whole day is read before anything changes, so
// a damaged day leaves the store as it was. False when the day is not a date, or the payload
// does not inflate, is cut off, goes on after its last programme, has a dated finish before
// its start or passes the budget. `full` and `with_anons` are the level the day is recorded
// as held at (all_list::add_dt_local): `full` 1 when a signed-in account downloaded it,
// `with_anons` 1 when it was asked for with announcements (a day without any is then held at
// that level too).
bool ApplyProgrammeDay(all_list& store, std::int32_t channel_id, const std::string& day,
                       std::string_view payload, bool inflate, bool look_up, std::uint8_t full,
                       std::uint8_t with_anons = 0, protocol::ReplyBudget* budget = nullptr);

// ReadScheduleBlocks: channel details, announcements and programme days into the store.
// Blocks for channels the store does not hold are read past. Every block is inflated and
// decoded, within one ReplyBudget for the whole reply, before the first one is applied: a
// reply that is cut off or holds a damaged block (see ApplyProgrammeDay) changes nothing and
// gives false. `full` and `with_anons` as for ApplyProgrammeDay.
bool ReadScheduleBlocks(all_list& store, std::string_view body, DownloadHost& host,
                        std::uint8_t full, std::uint8_t with_anons = 0);

}  // namespace zt::net
