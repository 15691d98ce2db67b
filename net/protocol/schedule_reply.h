#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "storage/field_codec.h"

namespace zt::protocol {

// The schedule reply: a sequence of blocks, each a type byte, a header and a compressed
// section. Type 1 carries a channel's details, type 2 a day's announcements, type 3 a day's
// programmes. The payload encoders return the uncompressed bytes; compress_payload turns them
// into a section's compressed data, which the server keeps and sends as it is.

enum class BlockType : std::uint8_t { Channel = 1, Announcements = 2, Programmes = 3 };

struct ChannelDetails final {
    std::string name;
    std::string descr;
    std::string stamp;                   // 8 bytes on the wire
    std::string logo16, logo24, logo32;  // BMP file images; empty when unchanged
    bool operator==(const ChannelDetails&) const = default;
};

struct Announcement final {
    std::int32_t id = 0;
    std::string text;
    std::string picture;  // written: a GIF file image; read: decoded into a BMP file image
    bool operator==(const Announcement&) const = default;
};

struct ProgEntry final {
    std::int32_t id = 0;
    DateTime start;
    DateTime finish;
    std::uint8_t type_family = 0;  // 0: no genre
    std::uint8_t type_sub = 0;
    std::uint8_t rating = 0;  // per cent
    std::string title;
    std::string descr;
    bool continued = false;
    std::int32_t anons = -1;  // -1: none
    bool operator==(const ProgEntry&) const = default;
};

std::string encode_channel_details(const ChannelDetails& details);
std::string encode_announcements(const std::vector<Announcement>& list);
// Start and finish are written with their date ("yyyy-MM-dd hh:mm").
std::string encode_programmes(const std::vector<ProgEntry>& list);
// The compressed data of a section holding `payload`.
std::string compress_payload(std::string payload);

// Appends one block; `day` ("yyyy-MM-dd") is ignored for type 1.
void append_block(std::string& out, BlockType type, std::int32_t channel_id, std::string_view day,
                  std::string_view compressed);

struct ReplyBlock final {
    BlockType type = BlockType::Channel;
    std::int32_t channel_id = 0;
    std::string day;         // empty for type 1
    std::string compressed;  // as received
};

// A block of a reply with its data in place in the reply's body.
struct ReplyBlockView final {
    BlockType type = BlockType::Channel;
    std::int32_t channel_id = 0;
    std::string day;              // empty for type 1
    std::string_view compressed;  // in the body, valid while the body is
};

// Splits a reply into blocks; a byte of another type is skipped. Throws field_error when a
// block runs past the end of the body.
std::vector<ReplyBlock> read_schedule_reply(std::string_view body);
// The same without copying the blocks' data out of the body.
std::vector<ReplyBlockView> read_schedule_reply_in_place(std::string_view body);

// Decoders of inflated payloads; throw field_error on cut-off data.
ChannelDetails decode_channel_details(std::string_view payload);
std::vector<Announcement> decode_announcements(std::string_view payload);
std::vector<ProgEntry> decode_programmes(std::string_view payload);
// The count and the entries at the reader's position (a day record of the import file). An
// unreadable start or finish, or a finish with its own date before the start, is damage
// (field_error); a finish written as a time alone takes the carried date, whatever it gives.
std::vector<ProgEntry> read_programmes(FieldReader& r);
// Inflates a block's payload; throws field_error when it does not inflate.
std::string inflate_payload(std::string_view compressed);

// What the blocks of one reply may take, all of them together: the bytes they inflate to (the
// cap of a whole compressed reply, 512 MB, holds for every block and for their sum) and the
// memory of the records they make (512 MB, as much as a schedule file may load). A reply that
// goes beyond either is damaged. Real replies take a small part of each.
class ReplyBudget final {
public:
    static constexpr std::size_t kInflated = std::size_t(512) << 20;
    static constexpr std::size_t kRecords = std::size_t(512) << 20;
    std::size_t inflated_left() const { return m_inflated; }
    // Throws field_error beyond the budget.
    void inflated(std::size_t bytes);
    // A record of `record_size` bytes with `texts` bytes of texts and pictures of its own.
    void charge(std::size_t record_size, std::size_t texts);

private:
    std::size_t m_inflated = kInflated;
    std::size_t m_records = kRecords;
};

// The payload of a block read as it inflates, never held whole, within `budget`. Each throws
// field_error when the block does not inflate, is cut off, passes the budget, or goes on after
// its last record (a block bigger than its content says is damaged, not padded). Programmes
// are checked as read_programmes checks them.
ChannelDetails read_channel_block(std::string_view compressed, ReplyBudget& budget);
// Pictures are decoded only for announcements that are new: not `known` (when given) and not
// met before in the block; the others come without their picture (the store keeps the one it
// has, and of a repeated id the first).
std::vector<Announcement> read_announcement_block(
    std::string_view compressed, ReplyBudget& budget,
    const std::function<bool(std::int32_t)>& known = {});
std::vector<ProgEntry> read_programme_block(std::string_view compressed, ReplyBudget& budget);

// A block's day: "yyyy-MM-dd" of a real date.
bool valid_day(std::string_view day);

// "yyyy-MM-dd hh:mm", "yy-MM-dd hh:mm", a date alone or "hh:mm" alone. A time alone takes the
// date of `base`; nothing for a malformed text.
struct ShortMoment final {
    DateTime value;
    bool has_date = false;
};
std::optional<ShortMoment> parse_short_moment(std::string_view text, DateTime base);

}  // namespace zt::protocol
