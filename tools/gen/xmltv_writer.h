#pragma once

#include <cstdint>
#include <ostream>

namespace zt {
class all_list;
}

namespace zt::gen {

// Writes a generated store as an XMLTV document in UTF-8, the way grabbers lay files out: all
// channels first, then the programmes day by day with the channels interleaved. Times carry the
// offset "+0300" (the store's times are read as Moscow time). Each programme has its title,
// description, the catalogue names of its genre as categories and its rating as a star rating.
// When `min_bytes` is more than one pass over the schedule, the schedule is repeated, shifted by
// its length in days each time, and ends with the day that makes the document that long.
// Returns its size.
std::int64_t write_xmltv(const all_list& store, std::ostream& out, std::int64_t min_bytes = 0);

}  // namespace zt::gen
