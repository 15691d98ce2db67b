#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zt::protocol {

// The package list: a section of channel records followed by a section of package records.
// Texts are CP1251; pictures are BMP file images (empty: none).

struct ChannelRecord final {
    std::int32_t id = 0;
    std::string name;
    std::string descr;
    std::string stamp;  // 8 bytes on the wire
    std::string logo16, logo24, logo32;
    bool operator==(const ChannelRecord&) const = default;
};

struct PaketEntry final {
    std::int32_t channel_id = 0;
    std::string shift;   // "hh:mm", with a sign when negative
    std::string button;  // the channel's button label in the package
    bool operator==(const PaketEntry&) const = default;
};

struct PaketRecord final {
    std::int32_t id = 0;
    std::int32_t parent = 0;  // 0 for a top-level package
    std::string name;
    std::string descr;
    std::string picture16, picture32;  // both or neither
    std::vector<PaketEntry> entries;
    bool operator==(const PaketRecord&) const = default;
};

struct PaketList final {
    std::vector<ChannelRecord> channels;
    std::vector<PaketRecord> pakets;  // parents first, depth-first
};

// Puts packages into depth-first order of their tree (each package directly followed by its
// sub-packages, siblings in their given order), each package once. A package whose parent is
// missing, or that sits on a cycle, is treated as top-level. Linear in the number of packages.
std::vector<PaketRecord> depth_first(std::vector<PaketRecord> pakets);

// The two sections. The caller orders the packages (see depth_first).
std::string write_paket_list(const PaketList& list);

// The memory the records of one package list may take, whatever the counts and lengths in it
// say: a small list of tiny records that expands to gigabytes is refused as damaged. Real lists
// of a few hundred channels with their logos take a few megabytes.
inline constexpr std::size_t kPaketListBudget = std::size_t(128) << 20;

// Throws field_error on damaged or cut-off data, on a section that does not end with its last
// record, and on records beyond kPaketListBudget. The sections are read as they inflate.
PaketList read_paket_list(std::string_view body);

}  // namespace zt::protocol
