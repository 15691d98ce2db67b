#include "net/protocol/schedule_request.h"

#include "storage/field_codec.h"

namespace zt::protocol {

namespace {

// A count of records that take at least `min_size` bytes each, checked against what is left.
std::int32_t read_count(FieldReader& r, std::size_t min_size) {
    const std::int32_t n = r.Int32();
    if (n < 0 || std::size_t(n) > r.remaining() / min_size)
        throw field_error("count exceeds the request body");
    return n;
}

}  // namespace

std::string write_schedule_request(const ScheduleRequest& request) {
    std::string out;
    FieldWriter w(out);
    w.Int32(std::int32_t(request.channels.size()));
    for (const auto& c : request.channels) {
        w.Int32(c.id);
        w.FixedText(c.stamp, 8);
        w.Int32(std::int32_t(c.days.size()));
        for (const auto& d : c.days) {
            w.FixedText(d.date, 10);
            w.Byte(d.full);
            w.Byte(d.with_anons);
        }
    }
    w.Int32(std::int32_t(request.pakets.size()));
    for (std::int32_t id : request.pakets) w.Int32(id);
    w.Int32(std::int32_t(request.marks.size()));
    for (const auto& m : request.marks) {
        w.Int32(m.channel_id);
        w.Int32(std::int32_t(m.entries.size()));
        for (const auto& e : m.entries) {
            w.Int32(e.prog_id);
            w.Byte(e.state);
        }
    }
    return out;
}

ScheduleRequest read_schedule_request(std::string_view body) {
    FieldReader r(body);
    ScheduleRequest req;
    const std::int32_t channels = read_count(r, 16);
    req.channels.reserve(std::size_t(channels));
    for (std::int32_t i = 0; i < channels; ++i) {
        WantedChannel c;
        c.id = r.Int32();
        c.stamp = r.FixedText(8);
        const std::int32_t days = read_count(r, 12);
        c.days.reserve(std::size_t(days));
        for (std::int32_t d = 0; d < days; ++d) {
            HeldDay day;
            day.date = r.FixedText(10);
            day.full = r.Byte();
            day.with_anons = r.Byte();
            c.days.push_back(std::move(day));
        }
        req.channels.push_back(std::move(c));
    }
    // A body that ends after a whole part leaves the later parts empty.
    if (r.remaining() == 0) return req;
    const std::int32_t pakets = read_count(r, 4);
    req.pakets.reserve(std::size_t(pakets));
    for (std::int32_t i = 0; i < pakets; ++i) req.pakets.push_back(r.Int32());
    if (r.remaining() == 0) return req;
    const std::int32_t reports = read_count(r, 8);
    req.marks.reserve(std::size_t(reports));
    for (std::int32_t i = 0; i < reports; ++i) {
        MarkReport m;
        m.channel_id = r.Int32();
        const std::int32_t entries = read_count(r, 5);
        m.entries.reserve(std::size_t(entries));
        for (std::int32_t e = 0; e < entries; ++e) {
            MarkEntry entry;
            entry.prog_id = r.Int32();
            entry.state = r.Byte();
            m.entries.push_back(entry);
        }
        req.marks.push_back(std::move(m));
    }
    if (r.remaining() != 0) throw field_error("bytes after the end of the request");
    return req;
}

}  // namespace zt::protocol
