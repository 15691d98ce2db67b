#include "net/protocol/schedule_reply.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "net/protocol/login_reply.h"
#include "storage/field_codec.h"
#include "storage/section.h"

namespace zt::protocol {

namespace {

constexpr std::size_t kDayLength = 10;

// A count of records of at least `min_size` bytes each, checked against what is left.
std::int32_t read_count(FieldReader& r, std::size_t min_size) {
    const std::int32_t n = r.Int32();
    if (n < 0 || std::size_t(n) > r.remaining() / min_size)
        throw field_error("count exceeds the payload");
    return n;
}

std::optional<int> number(std::string_view s) {
    int v = 0;
    if (s.empty()) return std::nullopt;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    return v;
}

}  // namespace

std::string encode_channel_details(const ChannelDetails& d) {
    std::string out;
    FieldWriter w(out);
    w.ShortText(d.name);
    w.LongText(d.descr);
    w.FixedText(d.stamp, 8);
    w.BitmapBlob(d.logo16);
    w.BitmapBlob(d.logo24);
    w.BitmapBlob(d.logo32);
    return out;
}

std::string encode_announcements(const std::vector<Announcement>& list) {
    std::string out;
    FieldWriter w(out);
    w.Int32(std::int32_t(list.size()));
    for (const auto& a : list) {
        w.Int32(a.id);
        w.LongText(a.text);
        w.GifBlob(a.picture);
    }
    return out;
}

std::string encode_programmes(const std::vector<ProgEntry>& list) {
    std::string out;
    FieldWriter w(out);
    w.Int32(std::int32_t(list.size()));
    for (const auto& p : list) {
        w.Int32(p.id);
        w.ShortText(format_minute(p.start));
        w.ShortText(format_minute(p.finish));
        w.Byte(p.type_family);
        w.Byte(p.type_sub);
        w.Byte(p.rating);
        w.ShortText(p.title);
        w.ShortText(p.descr);
        w.Flag(p.continued ? 1 : 0);
        w.Int32(p.anons);
    }
    return out;
}

std::string compress_payload(std::string payload) {
    DeflateSection(payload);
    return payload;
}

void append_block(std::string& out, BlockType type, std::int32_t channel_id, std::string_view day,
                  std::string_view compressed) {
    FieldWriter w(out);
    w.Byte(std::uint8_t(type));
    w.Int32(channel_id);
    if (type != BlockType::Channel) w.FixedText(day, kDayLength);
    w.Int32(std::int32_t(compressed.size()));
    w.Bytes(compressed);
}

std::vector<ReplyBlockView> read_schedule_reply_in_place(std::string_view body) {
    FieldReader r(body);
    std::vector<ReplyBlockView> blocks;
    while (!r.at_end()) {
        const std::uint8_t type = r.Byte();
        if (type < 1 || type > 3) continue;
        ReplyBlockView b;
        b.type = BlockType(type);
        b.channel_id = r.Int32();
        if (b.type != BlockType::Channel) b.day = r.FixedText(kDayLength);
        const std::int32_t n = r.Int32();
        if (n < 0) throw field_error("negative block length");
        // A reader over memory hands out its bytes in place, where they stay.
        b.compressed = r.Bytes(std::size_t(n));
        blocks.push_back(std::move(b));
    }
    return blocks;
}

std::vector<ReplyBlock> read_schedule_reply(std::string_view body) {
    std::vector<ReplyBlock> blocks;
    for (auto& b : read_schedule_reply_in_place(body))
        blocks.push_back({b.type, b.channel_id, std::move(b.day), std::string(b.compressed)});
    return blocks;
}

std::string inflate_payload(std::string_view compressed) {
    std::string data(compressed);
    if (!InflateSection(data)) throw section_error("block does not inflate");
    return data;
}

namespace {

// The fields of a channel details payload, in their order.
ChannelDetails read_channel_details(FieldReader& r) {
    ChannelDetails d;
    d.name = r.ShortText();
    d.descr = r.LongText();
    d.stamp = r.FixedText(8);
    d.logo16 = r.BitmapBlob();
    d.logo24 = r.BitmapBlob();
    d.logo32 = r.BitmapBlob();
    return d;
}

}  // namespace

ChannelDetails decode_channel_details(std::string_view payload) {
    FieldReader r(payload);
    return read_channel_details(r);
}

std::vector<Announcement> decode_announcements(std::string_view payload) {
    FieldReader r(payload);
    std::vector<Announcement> out;
    const std::int32_t n = read_count(r, 12);
    for (std::int32_t i = 0; i < n; ++i) {
        Announcement a;
        a.id = r.Int32();
        a.text = r.LongText();
        a.picture = r.GifBlob();
        out.push_back(std::move(a));
    }
    return out;
}

std::optional<ShortMoment> parse_short_moment(std::string_view text, DateTime base) {
    if (text.empty()) return std::nullopt;
    std::string_view date, time;
    const std::size_t space = text.find(' ');
    if (space != std::string_view::npos) {
        date = text.substr(0, space);
        time = text.substr(space + 1);
    } else if (text.find(':') != std::string_view::npos) {
        time = text;
    } else {
        date = text;
    }
    DateTime day = base.date();
    if (!date.empty()) {
        const std::size_t a = date.find('-'), b = date.rfind('-');
        if (a == std::string_view::npos || a == b) return std::nullopt;
        auto y = number(date.substr(0, a)), m = number(date.substr(a + 1, b - a - 1)),
             d = number(date.substr(b + 1));
        if (!y || !m || !d || (a != 2 && a != 4)) return std::nullopt;
        const int year = a == 2 ? 2000 + *y : *y;
        auto parsed = DateTime::fromParts(year, *m, *d);
        if (!parsed) return std::nullopt;
        day = *parsed;
    }
    int h = 0, mi = 0;
    if (!time.empty()) {
        const std::size_t c = time.find(':');
        if (c == std::string_view::npos) return std::nullopt;
        auto hh = number(time.substr(0, c)), mm = number(time.substr(c + 1));
        if (!hh || !mm || *hh < 0 || *hh > 23 || *mm < 0 || *mm > 59) return std::nullopt;
        h = *hh;
        mi = *mm;
    }
    return ShortMoment{day.addMinutes(h * 60 + mi), !date.empty()};
}

std::vector<ProgEntry> decode_programmes(std::string_view payload) {
    FieldReader r(payload);
    return read_programmes(r);
}

namespace {

// One programme record; its bytes on the wire are added to `wire`.
ProgEntry read_programme(FieldReader& r, DateTime& base, std::size_t& wire) {
    ProgEntry p;
    p.id = r.Int32();
    const std::string_view start_text = r.ShortTextView();
    const auto start = parse_short_moment(start_text, base);
    if (!start) throw field_error("unreadable start");
    if (start->has_date) base = start->value;
    wire += start_text.size();
    const std::string_view finish_text = r.ShortTextView();
    const auto finish = parse_short_moment(finish_text, base);
    if (!finish) throw field_error("unreadable finish");
    wire += finish_text.size();
    // A finish with its own date before the start is damage. A time alone takes the carried
    // date, so a programme over midnight written that way keeps its finish on the start's day,
    // as the layout has always read it.
    if (finish->has_date && finish->value < start->value) throw field_error("finish before start");
    p.start = start->value;
    p.finish = finish->value;
    p.type_family = r.Byte();
    p.type_sub = r.Byte();
    p.rating = r.Byte();
    p.title = r.ShortText();
    p.descr = r.ShortText();
    p.continued = r.Flag() == 1;
    p.anons = r.Int32();
    wire += 4 + 1 + 1 + 3 + 1 + p.title.size() + 1 + p.descr.size() + 1 + 4;
    return p;
}

// A block's section as it inflates: at most what is left of the budget, and nothing after the
// last record.
class BlockReader final {
public:
    BlockReader(std::string_view compressed, ReplyBudget& budget)
        : m_budget(budget),
          m_stream(compressed, nullptr, std::max<std::size_t>(budget.inflated_left(), 1), false,
                   InflateStream::Ahead::never),
          m_reader(m_stream) {}
    FieldReader& reader() { return m_reader; }
    ReplyBudget& budget() { return m_budget; }
    // The records were read, taking `wire` bytes: the section must end here, whole.
    void end(std::size_t wire) {
        if (!m_reader.at_end()) throw field_error("block goes on after its last record");
        if (!m_stream.finish()) throw section_error("block does not inflate");
        m_budget.inflated(wire);
    }

private:
    ReplyBudget& m_budget;
    InflateStream m_stream;
    FieldReader m_reader;
};

std::int32_t block_count(FieldReader& r) {
    const std::int32_t n = r.Int32();
    if (n < 0) throw field_error("negative count");
    return n;
}

}  // namespace

std::vector<ProgEntry> read_programmes(FieldReader& r) {
    std::vector<ProgEntry> out;
    const std::int32_t n = read_count(r, 16);
    DateTime base;  // the date of the last start that carried one
    std::size_t wire = 0;
    for (std::int32_t i = 0; i < n; ++i) out.push_back(read_programme(r, base, wire));
    return out;
}

void ReplyBudget::inflated(std::size_t bytes) {
    if (bytes > m_inflated) throw field_error("the reply inflates beyond its cap");
    m_inflated -= bytes;
}

void ReplyBudget::charge(std::size_t record_size, std::size_t texts) {
    // The allocations around a record, the allocator's rounding and a growing list's slack.
    const std::size_t cost = 2 * record_size + texts + 64;
    if (cost > m_records) throw field_error("the reply's records exceed their memory budget");
    m_records -= cost;
}

ChannelDetails read_channel_block(std::string_view compressed, ReplyBudget& budget) {
    BlockReader b(compressed, budget);
    ChannelDetails d = read_channel_details(b.reader());
    const std::size_t texts = d.name.size() + d.descr.size() + d.stamp.size() + d.logo16.size() +
                              d.logo24.size() + d.logo32.size();
    budget.charge(sizeof d, texts);
    b.end(1 + 4 + 4 * 3 + texts);
    return d;
}

std::vector<Announcement> read_announcement_block(std::string_view compressed, ReplyBudget& budget,
                                                  const std::function<bool(std::int32_t)>& known) {
    BlockReader b(compressed, budget);
    FieldReader& r = b.reader();
    std::vector<Announcement> out;
    std::unordered_set<std::int32_t> seen;
    const std::int32_t n = block_count(r);
    std::size_t wire = 4;
    for (std::int32_t i = 0; i < n; ++i) {
        Announcement a;
        a.id = r.Int32();
        a.text = r.LongText();
        const std::int32_t gif_size = r.Int32();
        if (gif_size < 0) throw field_error("negative picture length");
        const bool fresh = seen.insert(a.id).second && !(known && known(a.id));
        std::string gif = r.Take(std::size_t(gif_size));
        if (gif_size > 0 && fresh) a.picture = picture_to_bmp(gif);
        wire += 4 + 4 + a.text.size() + 4 + std::size_t(gif_size);
        budget.charge(sizeof a, a.text.size() + a.picture.size());
        out.push_back(std::move(a));
    }
    b.end(wire);
    return out;
}

std::vector<ProgEntry> read_programme_block(std::string_view compressed, ReplyBudget& budget) {
    BlockReader b(compressed, budget);
    FieldReader& r = b.reader();
    std::vector<ProgEntry> out;
    const std::int32_t n = block_count(r);
    DateTime base;
    std::size_t wire = 4;
    for (std::int32_t i = 0; i < n; ++i) {
        out.push_back(read_programme(r, base, wire));
        budget.charge(sizeof(ProgEntry), out.back().title.size() + out.back().descr.size());
    }
    b.end(wire);
    return out;
}

bool valid_day(std::string_view day) {
    if (day.size() != kDayLength || day[4] != '-' || day[7] != '-') return false;
    const auto y = number(day.substr(0, 4)), m = number(day.substr(5, 2)),
               d = number(day.substr(8, 2));
    if (!y || !m || !d) return false;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (day[i] < '0' || day[i] > '9') return false;
    return DateTime::fromParts(*y, *m, *d).has_value();
}

}  // namespace zt::protocol
