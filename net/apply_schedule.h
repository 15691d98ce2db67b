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
// store's channel of that id gets the day (its old programmes of the day are replaced),
// otherwise the entries are only read past. The whole day is read before anything changes, so
// a damaged day leaves the store as it was. False when the day is not a date, or the payload
// does not inflate, is cut off, goes on after its last programme, has a dated finish before
// its start or passes the budget.
bool ApplyProgrammeDay(all_list& store, std::int32_t channel_id, const std::string& day,
                       std::string_view payload, bool inflate, bool look_up,
                       protocol::ReplyBudget* budget = nullptr);

// ReadScheduleBlocks: channel details, announcements and programme days into the store.
// Blocks for channels the store does not hold are read past. False at the first block that
// is damaged (see ApplyProgrammeDay; all blocks of the reply share one ReplyBudget) while
// blocks before it stay applied, or when the reply is cut off in a block header (nothing
// applied).
bool ReadScheduleBlocks(all_list& store, std::string_view body, DownloadHost& host);

}  // namespace zt::net
