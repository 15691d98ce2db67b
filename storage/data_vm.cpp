// v.dat (favourite and disliked titles) and m.dat (the user's marks on programmes): the small
// files written at every exit.
#include "storage/data_internal.h"

namespace zt {

std::string build_v_body(const DataContext& ctx) {
    const all_list& store = ctx.store;
    std::string body;
    FieldWriter w(body);
    const std::size_t n = store.channels.size();
    w.Int32(std::int32_t(n));
    for (std::size_t i = 0; i < n; ++i) {
        const chl_serv_list& c = *store.channels[i];
        w.Int32(c.id);
        w.Int32(std::int32_t(c.love.size()));
        for (const auto& l : c.love) {
            w.Int32(l->id);
            w.ShortText(l->title);
            w.Flag(l->liked);
            w.ShortText(data::format_datetime(store, l->seen));
        }
        data::report_index(ctx, i, n);
    }
    return body;
}

std::string build_m_body(const DataContext& ctx) {
    const all_list& store = ctx.store;
    std::string body;
    FieldWriter w(body);
    const std::size_t n = store.channels.size();
    w.Int32(std::int32_t(n));
    for (std::size_t i = 0; i < n; ++i) {
        const chl_serv_list& c = *store.channels[i];
        w.Int32(c.id);
        const std::size_t count_at = body.size();
        w.Int32(0);
        std::int32_t count = 0;
        for (const auto& p : c.tvprog) {
            if (p->mark != 1 && p->alarm != 1 && !p->love) continue;
            w.Int32(p->id);
            w.ShortText(data::format_datetime(store, p->start));
            w.Flag(p->mark);
            w.Flag(p->alarm);
            w.Int32(p->love ? p->love->id : -1);
            ++count;
        }
        std::string patch;
        FieldWriter(patch).Int32(count);
        body.replace(count_at, 4, patch);
        data::report_index(ctx, i, n);
    }
    return body;
}

namespace {

// Reads a small file as it inflates (a body that decodes huge never has to be held whole) with
// `parse`, which throws field_error on damage; the checksum is checked at the end. What was read
// before damage stays. False after the file's message.
template <class Parse>
bool load_streamed(const DataContext& ctx, const char* name, Parse parse) {
    bool failed = false;
    auto file = data::open_stream(ctx, name, false, failed);
    if (!file) return !failed;
    InflateStream stream(file->compressed(), &ctx.progress, ctx.body_limit);
    FieldReader r(stream);
    data::RecordBudget budget(ctx);
    bool ok = true;
    try {
        parse(r, budget);
    } catch (const field_error&) {
        ok = false;
    }
    ok = stream.finish() && ok;
    if (!ok) data::report_damaged(ctx, name);
    return ok;
}

// Walks the channel sections both files share: a count, then per channel its id and its
// records, which `read_channel` reads (the channel is null when the store lacks it, and the
// records are then read and dropped).
template <typename ReadChannel>
void for_each_channel(const DataContext& ctx, FieldReader& r, ReadChannel&& read_channel) {
    const auto index = data::channel_index(ctx.store);
    const std::int32_t count = r.at_end() ? 0 : r.Int32();
    for (std::int32_t i = 0; i < count && !r.at_end(); ++i) {
        const auto it = index.find(r.Int32());
        read_channel(it == index.end() ? nullptr : it->second.get());
        data::report_position(ctx, r);
    }
}

}  // namespace

bool load_v(const DataContext& ctx) {
    return data::load_v_file(ctx, "v.dat");
}

bool load_m(const DataContext& ctx) {
    return data::load_m_file(ctx, "m.dat");
}

bool data::load_v_file(const DataContext& ctx, const char* name) {
    return load_streamed(ctx, name, [&ctx](FieldReader& r, data::RecordBudget& budget) {
        all_list& store = ctx.store;
        for_each_channel(ctx, r, [&](chl_serv_list* channel) {
            data::IdCounter ids;
            // Favourites a version 1 u.dat carried are the same records: v.dat (the newer)
            // updates them instead of adding them a second time.
            std::unordered_map<std::int32_t, love_list*> earlier;
            if (channel) {
                ids.seed(channel->love);
                for (const auto& l : channel->love) earlier.emplace(l->id, l.get());
            }
            const std::int32_t entries = r.Int32();
            for (std::int32_t k = 0; k < entries && !r.at_end(); ++k) {
                auto rec = data::read_love(r);
                budget.charge(sizeof(love_list) + rec.title.size());
                if (!channel) continue;
                const auto same = rec.id == -1 ? earlier.end() : earlier.find(rec.id);
                if (same == earlier.end()) {
                    data::add_love_record(store, *channel, ids, std::move(rec));
                } else if (const auto seen = data::parse_datetime(store, rec.seen)) {
                    same->second->title = std::move(rec.title);
                    same->second->liked = rec.liked;
                    same->second->seen = *seen;
                }
            }
        });
    });
}

namespace {

// One mark record as read.
struct MarkRecord final {
    std::uint8_t mark = 0;
    std::uint8_t alarm = 0;
    std::int32_t love_id = -1;
};

struct MarkKey final {
    std::int32_t id;
    std::int64_t start;
    bool operator==(const MarkKey&) const = default;
};
struct MarkKeyHash final {
    std::size_t operator()(const MarkKey& k) const {
        return std::hash<std::uint64_t>()(std::uint64_t(k.start) * 1000003u + std::uint32_t(k.id));
    }
};

// Applies a channel's marks as apply_tvprog_marks would, one record after the other: each
// goes to the first programme with its id and start, so where several records name the same
// programme the last one stands, and a record whose programme is gone is dropped. One pass over
// the programmes with a lookup among the (few) records, instead of a search per record.
void apply_marks(chl_serv_list& channel,
                 std::unordered_map<MarkKey, MarkRecord, MarkKeyHash>& records) {
    if (records.empty()) return;
    std::unordered_map<std::int32_t, std::shared_ptr<love_list>> loves;
    for (const auto& l : channel.love) loves.emplace(l->id, l);  // the first of an id wins
    for (const auto& p : channel.tvprog) {
        const auto it = records.find(MarkKey{p->id, p->start.seconds()});
        if (it == records.end()) continue;
        const MarkRecord& rec = it->second;
        p->mark = rec.mark;
        p->alarm = rec.alarm;
        const auto l = rec.love_id == -1 ? loves.end() : loves.find(rec.love_id);
        p->love = l == loves.end() ? nullptr : l->second;
        records.erase(it);  // later programmes with the same key keep their own state
        if (records.empty()) break;
    }
}

}  // namespace

bool data::load_m_file(const DataContext& ctx, const char* name) {
    return load_streamed(ctx, name, [&ctx](FieldReader& r, data::RecordBudget& budget) {
        all_list& store = ctx.store;
        for_each_channel(ctx, r, [&](chl_serv_list* channel) {
            std::unordered_map<MarkKey, MarkRecord, MarkKeyHash> records;
            const std::int32_t n = r.Int32();
            try {
                for (std::int32_t k = 0; k < n && !r.at_end(); ++k) {
                    const std::int32_t prog_id = r.Int32();
                    const auto start = data::parse_datetime(store, r.ShortTextView());
                    MarkRecord rec;
                    rec.mark = r.Flag();
                    rec.alarm = r.Flag();
                    rec.love_id = r.Int32();
                    budget.charge(sizeof(MarkKey) + sizeof(MarkRecord));
                    if (!channel || !start) continue;
                    records[MarkKey{prog_id, start->seconds()}] = rec;
                }
            } catch (const field_error&) {
                if (channel) apply_marks(*channel, records);  // the marks read before the damage
                throw;
            }
            if (channel) apply_marks(*channel, records);
        });
    });
}

}  // namespace zt
