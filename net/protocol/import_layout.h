#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/protocol/paket_list.h"
#include "net/protocol/schedule_reply.h"

namespace zt::protocol {

// The import file (".zorvan_tv"): an Int32 format version, the two sections of the package
// list, then a section of programme days running to the end of the file. An inflated day
// record is the channel id, the day as 10 bytes "yyyy-MM-dd", and the count and entries of a
// programme block.

inline constexpr std::int32_t kImportVersion = 1;

struct ImportDay final {
    std::int32_t channel_id = 0;
    std::string day;
    std::vector<ProgEntry> progs;
    bool operator==(const ImportDay&) const = default;
};

// The whole file, version included.
std::string write_import_file(const PaketList& list, const std::vector<ImportDay>& days);

// The version at the start of the file; nothing when the file is shorter than four bytes.
std::optional<std::int32_t> read_import_version(std::string_view file);

struct ImportSections final {
    PaketList list;
    std::string tvprog;  // the programme-day section, inflated
};

// Reads the three sections that follow the version (`rest`: the file without its first four
// bytes). Bytes after the third section are ignored. Throws field_error when a section is cut
// off or does not inflate.
ImportSections read_import_sections(std::string_view rest);

// One day record of the programme-day section: the programme block stays in place.
struct ImportDayRecord final {
    std::int32_t channel_id = 0;
    std::string day;
    std::string_view payload;  // the count and the entries, as a programme block's payload
};

// Walks the inflated programme-day section record by record, decoding each block to find its
// end. Throws field_error when a record is cut off or unreadable; `visit` has seen the records
// before it.
void read_import_days(std::string_view tvprog,
                      const std::function<void(const ImportDayRecord&)>& visit);

}  // namespace zt::protocol
