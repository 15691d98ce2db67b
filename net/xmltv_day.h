#pragma once

#include <vector>

#include "net/protocol/schedule_reply.h"
#include "xmltv/xmltv_reader.h"

namespace zt::net {

// A programme the XMLTV reader delivered, as a day's entry of the exchange layouts (its id is
// given when it is placed).
protocol::ProgEntry entry_of(const xmltv::Programme& programme);

// Puts an entry into its day, which is in start order. The start minute is an entry's id; a
// repeated wall-clock start (the hour that repeats when clocks go back) takes the next free
// number. An entry that starts before the day's last one (a later copy of the channel filling a
// gap) goes into its place and the day is numbered anew.
void place_in_day(std::vector<protocol::ProgEntry>& day, protocol::ProgEntry entry);

}  // namespace zt::net
