// t.dat: the user's login data, then per channel the downloaded days, the announcements and the
// programmes. Version 1 programme records also carry the user's marks.
#include <algorithm>

#include "core/maintenance.h"
#include "storage/data_internal.h"

namespace zt {

namespace data {

namespace {

// About the size t_body writes, so the body is allocated once instead of being copied each
// time it grows (a large week is tens of megabytes).
std::size_t t_body_size(const all_list& store) {
    constexpr std::size_t kDateTime = 1 + 19;
    std::size_t size = 3 * 256 + 4;
    for (const auto& c : store.channels) {
        size += 12 + c->dates.size() * 12;
        for (const auto& a : c->anons) size += 12 + a->text.size() + a->picture.size();
        for (const auto& p : c->tvprog)
            size += 4 + 2 * kDateTime + 4 + 2 + std::min<std::size_t>(p->title.size(), 255) +
                    std::min<std::size_t>(p->descr.size(), 255) + 1 + 2 + 8;
    }
    return size;
}

}  // namespace

std::string t_body(const DataContext& ctx, TLayout layout) {
    std::string body;
    body.reserve(t_body_size(ctx.store));
    write_t_body(ctx, layout, body, {});
    return body;
}

void write_t_body(const DataContext& ctx, TLayout layout, std::string& body,
                  const std::function<void(std::string&)>& part_done) {
    const all_list& store = ctx.store;
    FieldWriter w(body);
    w.ShortText(ctx.user.login);
    w.ShortText(ctx.user.save_password ? ctx.user.password : std::string());
    w.ShortText(ctx.user.paid_login);

    const std::size_t n = store.channels.size();
    w.Int32(std::int32_t(n));
    for (std::size_t i = 0; i < n; ++i) {
        const chl_serv_list& c = *store.channels[i];
        w.Int32(c.id);
        w.Int32(std::int32_t(c.dates.size()));
        for (const auto& d : c.dates) {
            w.FixedText(d.date, 10);
            w.Byte(d.full);
            w.Byte(d.with_anons);
        }
        w.Int32(std::int32_t(c.anons.size()));
        for (const auto& a : c.anons) {
            w.Int32(a->id);
            w.LongText(a->text);
            w.BitmapBlob(a->picture);
        }
        w.Int32(std::int32_t(c.tvprog.size()));
        for (const auto& p : c.tvprog) {
            w.Int32(p->id);
            w.ShortText(format_datetime(store, p->start));
            w.ShortText(format_datetime(store, p->finish));
            w.Byte(std::uint8_t(p->type_family));
            w.Byte(std::uint8_t(p->type_sub));
            w.Byte(std::uint8_t(p->rating));
            w.Flag(p->reported);
            w.ShortText(p->title);
            w.ShortText(p->descr);
            w.Flag(p->continued);
            if (layout == TLayout::version1) {
                w.Flag(p->mark);
                w.Flag(p->alarm);
            }
            w.Int32(p->anons ? p->anons->id : -1);
            if (layout == TLayout::version1) w.Int32(p->love ? p->love->id : -1);
        }
        if (layout == TLayout::current) report_index(ctx, i, n);
        if (part_done && body.size() >= SectionDeflater::kPart) {
            part_done(body);
            body.clear();
            body.reserve(SectionDeflater::kPart + SectionDeflater::kPart / 4);
        }
    }
    if (part_done) part_done(body);
}

}  // namespace data

std::string build_t_body(const DataContext& ctx) {
    return data::t_body(ctx, data::TLayout::current);
}

namespace {

// The downloaded days of a channel while its list is read. Adding a day behaves as the
// store's add_dt_local: a day never loses its announcements or signed-in mark to a poorer
// record, otherwise the older entry goes and the new one is appended. Entries are dropped
// lazily so a long list costs one lookup per record.
class DayList final {
public:
    explicit DayList(chl_serv_list& channel) : m_channel(channel) {
        for (auto& d : channel.dates) push(std::move(d));
    }
    void add(std::string date, std::uint8_t full_byte, std::uint8_t with_anons) {
        const std::uint8_t full = full_byte == 1 ? 1 : 0;
        const auto it = m_alive.find(date);
        if (it != m_alive.end()) {
            const dt_local_list& old = m_entries[it->second];
            if ((old.with_anons == 1 && with_anons == 0) || (old.full == 1 && full == 0)) return;
            m_dead[it->second] = true;
            m_alive.erase(it);
        }
        push(dt_local_list{std::move(date), full, with_anons});
    }
    ~DayList() {
        m_channel.dates.clear();
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (!m_dead[i]) m_channel.dates.push_back(std::move(m_entries[i]));
    }

private:
    void push(dt_local_list d) {
        m_alive[d.date] = m_entries.size();
        m_entries.push_back(std::move(d));
        m_dead.push_back(false);
    }
    chl_serv_list& m_channel;
    std::vector<dt_local_list> m_entries;
    std::vector<bool> m_dead;
    std::unordered_map<std::string, std::size_t> m_alive;
};

template <class T>
std::unordered_map<std::int32_t, std::shared_ptr<T>> first_by_id(
    const std::vector<std::shared_ptr<T>>& list) {
    std::unordered_map<std::int32_t, std::shared_ptr<T>> index;
    for (const auto& r : list) index.emplace(r->id, r);
    return index;
}

void read_channel(const DataContext& ctx, FieldReader& r, std::int32_t version,
                  chl_serv_list* channel, data::RecordBudget& budget) {
    all_list& store = ctx.store;
    {
        std::optional<DayList> days;
        if (channel) days.emplace(*channel);
        const std::int32_t count = r.Int32();
        for (std::int32_t i = 0; i < count && !r.at_end(); ++i) {
            std::string date = r.FixedText(10);
            const std::uint8_t full = r.Byte();
            const std::uint8_t with_anons = r.Byte();
            budget.charge(sizeof(dt_local_list) + date.size());
            if (days) days->add(std::move(date), full, with_anons);
        }
    }

    std::unordered_map<std::int32_t, std::shared_ptr<anons_serv_list>> anons;
    std::unordered_map<std::int32_t, std::shared_ptr<love_list>> loves;
    if (channel) {
        anons = first_by_id(channel->anons);
        if (version == 1) loves = first_by_id(channel->love);
    }
    const std::int32_t anons_count = r.Int32();
    for (std::int32_t i = 0; i < anons_count && !r.at_end(); ++i) {
        const std::int32_t id = r.Int32();
        std::string text = r.LongText();
        std::string picture = data::sane_bitmap(r.BitmapBlob(), data::kMaxPictureSide);
        budget.charge(sizeof(anons_serv_list) + text.size() + picture.size());
        if (channel)
            anons.emplace(id, store.add_anons(*channel, id, std::move(text), std::move(picture)));
    }

    data::DateTimeReader dates(store);
    const std::int32_t progs = r.Int32();
    for (std::int32_t i = 0; i < progs && !r.at_end(); ++i) {
        const std::int32_t id = r.Int32();
        // Texts in place are valid only until the next read: read the times at once.
        const auto start = dates(r.ShortTextView());
        const auto finish = dates(r.ShortTextView());
        const std::uint8_t family = r.Byte();
        const std::uint8_t sub = r.Byte();
        const std::uint8_t rating = r.Byte();
        const std::uint8_t reported = r.Flag();
        std::string title = r.ShortText();
        std::string descr = r.ShortText();
        const std::uint8_t continued = r.Flag();
        std::uint8_t mark = 0, alarm = 0;
        if (version == 1) {
            mark = r.Flag();
            alarm = r.Flag();
        }
        const std::int32_t anons_id = r.Int32();
        const std::int32_t love_id = version == 1 ? r.Int32() : -1;
        budget.charge(sizeof(tvprog_serv_list) + title.size() + descr.size());
        if (!channel) continue;
        // A programme whose times do not read is dropped: it could not be placed anyway.
        if (!start || !finish) continue;
        // The genre, announcement and favourite are resolved here with one lookup each.
        auto p = store.add_tvprog(*channel, {.id = id,
                                             .continued = continued,
                                             .start = *start,
                                             .finish = *finish,
                                             .type_sub = sub,
                                             .rating = rating,
                                             .reported = reported,
                                             .title = std::move(title),
                                             .descr = std::move(descr),
                                             .mark = mark,
                                             .alarm = alarm});
        p->type_family = family;
        p->type = store.find_type(family, sub);
        // The announcement among those of this channel, the favourite among its favourites.
        if (anons_id != -1) {
            const auto a = anons.find(anons_id);
            if (a != anons.end()) p->anons = a->second;
        }
        if (love_id != -1) {
            const auto l = loves.find(love_id);
            if (l != loves.end()) p->love = l->second;
        }
    }
}

}  // namespace

namespace {

// What t.dat loading changes, so a body found damaged after some of it was read can be taken
// out again: the login data, each channel's days, and the lengths of its announcement and
// programme lists (which only grow at their ends).
class TSnapshot final {
public:
    TSnapshot(const all_list& s, const user_account& user) : m_user(user) {
        for (const auto& c : s.channels)
            m_channels.push_back({c, c->dates, c->anons.size(), c->tvprog.size()});
    }
    void restore(user_account& user) const {
        user = m_user;
        for (const auto& c : m_channels) {
            c.channel->dates = c.dates;
            c.channel->anons.resize(c.anons);
            c.channel->tvprog.resize(c.tvprog);
        }
    }

private:
    struct Channel {
        std::shared_ptr<chl_serv_list> channel;
        std::vector<dt_local_list> dates;
        std::size_t anons, tvprog;
    };
    user_account m_user;
    std::vector<Channel> m_channels;
};

}  // namespace

bool load_t(const DataContext& ctx) {
    bool failed = false;
    auto file = data::open_stream(ctx, "t.dat", true, failed);
    if (!file) return !failed;
    all_list& store = ctx.store;
    const TSnapshot before(store, ctx.user);
    // The body is read as it inflates: announcement pictures go straight from the inflater into
    // their own bytes. A body that turns out damaged (even at its checksum) is taken out
    // again; one that merely ends inside a record keeps what came before.
    InflateStream stream(file->compressed(), &ctx.progress, ctx.body_limit);
    FieldReader r(stream);
    bool cut = false;
    data::RecordBudget budget(ctx);
    try {
        ctx.user.login = r.ShortText();
        ctx.user.password = r.ShortText();
        ctx.user.paid_login = r.ShortText();
        const auto index = data::channel_index(store);
        const std::int32_t count = r.at_end() ? 0 : r.Int32();
        // Each channel's continued programmes are linked as soon as it is read, while its
        // records are still in the cache.
        PartLinker linker;
        for (std::int32_t i = 0; i < count && !r.at_end(); ++i) {
            const std::int32_t id = r.Int32();
            const auto it = index.find(id);
            // Records of a channel that u.dat did not create are read and dropped.
            chl_serv_list* channel = it == index.end() ? nullptr : it->second.get();
            read_channel(ctx, r, file->version, channel, budget);
            if (channel) {
                linker.link(*channel);
                if (ctx.record_frontier && !channel->tvprog.empty())
                    ctx.record_frontier->store(
                        reinterpret_cast<std::uintptr_t>(channel->tvprog.back().get()),
                        std::memory_order_relaxed);
            }
            data::report_position(ctx, r);
        }
    } catch (const field_error&) {
        cut = true;
    }
    const bool damaged = !stream.finish();
    if (damaged) before.restore(ctx.user);
    // A channel cut short, or taken back to its programmes before this file, is linked again.
    if (damaged || cut) {
        link_tvprog_parts(store, ctx.progress);
        data::report_damaged(ctx, "t.dat");
    }
    return !damaged && !cut;
}

}  // namespace zt
