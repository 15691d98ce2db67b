// u.dat: channels with their logos, channel groups, genre abbreviations and genre groups.
// Version 1 files also carry each channel's favourites inside its record.
#include <unordered_set>

#include "core/genres.h"
#include "storage/data_internal.h"

namespace zt {

using data::IdCounter;

std::string build_u_body(const DataContext& ctx) {
    const all_list& store = ctx.store;
    std::string body;
    FieldWriter w(body);

    const std::size_t n = store.channels.size();
    w.Int32(std::int32_t(n));
    static const logo_images kNoLogo;
    for (std::size_t i = 0; i < n; ++i) {
        const chl_serv_list& c = *store.channels[i];
        w.Int32(c.id);
        w.ShortText(c.name);
        w.LongText(c.descr);
        w.FixedText(c.stamp, 8);
        const logo_images& logo = c.logo >= 0 && std::size_t(c.logo) < store.logos.size()
                                      ? store.logos[std::size_t(c.logo)]
                                      : kNoLogo;
        w.BitmapBlob(logo.bmp16);
        w.BitmapBlob(logo.bmp24);
        w.BitmapBlob(logo.bmp32);
        data::report_index(ctx, i, n);
    }

    w.Int32(std::int32_t(store.chl_groups.size()));
    for (std::size_t i = 0; i < store.chl_groups.size(); ++i) {
        const chl_group_list& g = *store.chl_groups[i];
        w.Int32(g.id);
        w.LongText(g.name);
        w.LongText(g.descr);
        w.Int32(std::int32_t(g.members.size()));
        for (const auto& m : g.members) {
            w.Int32(m->id);
            w.Int32(m->chl_id);
            w.LongText(m->name);
            w.LongText(m->descr);
            w.ShortText(m->shift_text);
            w.ShortText(m->button);
        }
        data::report_index(ctx, i, store.chl_groups.size());
    }

    w.Int32(std::int32_t(store.types.size()));
    for (const auto& t : store.types) {
        w.Int32(t->id);
        w.ShortText(t->abbr);
    }

    w.Int32(std::int32_t(store.type_groups.size()));
    for (std::size_t i = 0; i < store.type_groups.size(); ++i) {
        const type_group_list& g = *store.type_groups[i];
        w.Int32(g.id);
        w.LongText(g.name);
        w.Int32(std::int32_t(g.members.size()));
        for (const auto& m : g.members) {
            w.Int32(m.type_id);
            w.Int32(m.row);
        }
        data::report_index(ctx, i, store.type_groups.size());
    }
    return body;
}

namespace {

void read_channels(const DataContext& ctx, FieldReader& r, std::int32_t version,
                   data::RecordBudget& budget) {
    if (r.at_end()) return;  // the body ends before this section: nothing more to read
    all_list& store = ctx.store;
    auto index = data::channel_index(store);
    const std::int32_t count = r.Int32();
    for (std::int32_t i = 0; i < count && !r.at_end(); ++i) {
        const std::int32_t id = r.Int32();
        std::string name = r.ShortText();
        std::string descr = r.LongText();
        std::string stamp = r.FixedText(8);
        logo_images logo;
        logo.bmp16 = data::sane_bitmap(r.BitmapBlob(), data::kMaxLogoSide);
        logo.bmp24 = data::sane_bitmap(r.BitmapBlob(), data::kMaxLogoSide);
        logo.bmp32 = data::sane_bitmap(r.BitmapBlob(), data::kMaxLogoSide);
        budget.charge(sizeof(chl_serv_list) + sizeof(logo_images) + name.size() + descr.size() +
                      logo.bmp16.size() + logo.bmp24.size() + logo.bmp32.size());
        // A channel id occurs once: a repeated one is read and dropped.
        std::shared_ptr<chl_serv_list> channel;
        if (!index.count(id)) {
            const std::int32_t logo_index = store.add_logo(std::move(logo));
            channel = store.add_channel(id, std::move(name), std::move(descr), std::move(stamp),
                                        logo_index);
            index.emplace(id, channel);
        }
        if (version == 1) {
            IdCounter ids;
            if (channel) ids.seed(channel->love);
            const std::int32_t loves = r.Int32();
            for (std::int32_t k = 0; k < loves && !r.at_end(); ++k) {
                auto rec = data::read_love(r);
                budget.charge(sizeof(love_list) + rec.title.size());
                if (channel) data::add_love_record(store, *channel, ids, std::move(rec));
            }
        }
        data::report_position(ctx, r);
    }
}

void read_groups(const DataContext& ctx, FieldReader& r, data::RecordBudget& budget) {
    if (r.at_end()) return;  // the body ends before this section: nothing more to read
    all_list& store = ctx.store;
    const auto index = data::channel_index(store);
    IdCounter group_ids;
    group_ids.seed(store.chl_groups);
    const std::int32_t count = r.Int32();
    for (std::int32_t i = 0; i < count && !r.at_end(); ++i) {
        const std::int32_t id = r.Int32();
        std::string name = r.LongText();
        std::string descr = r.LongText();
        budget.charge(sizeof(chl_group_list) + name.size() + descr.size());
        auto group = store.add_chl_group(group_ids.take(id), std::move(name), std::move(descr));
        IdCounter member_ids;
        const std::int32_t members = r.Int32();
        for (std::int32_t k = 0; k < members && !r.at_end(); ++k) {
            const std::int32_t member_id = r.Int32();
            const std::int32_t chl_id = r.Int32();
            std::string m_name = r.LongText();
            std::string m_descr = r.LongText();
            std::string shift = r.ShortText();
            std::string button = r.ShortText();
            budget.charge(sizeof(chl_local_list) + m_name.size() + m_descr.size() + shift.size() +
                          button.size());
            // Members of channels that are not there are dropped.
            const auto it = index.find(chl_id);
            if (it == index.end()) continue;
            store.add_chl_local(*group, member_ids.take(member_id), chl_id, it->second,
                                std::move(m_name), std::move(m_descr), std::move(shift),
                                std::move(button), -1);
        }
        data::report_position(ctx, r);
    }
    store.recount_chl_groups();
}

void read_genres(const DataContext& ctx, FieldReader& r) {
    if (r.at_end()) return;  // the body ends before this section: nothing more to read
    all_list& store = ctx.store;
    const std::int32_t count = r.Int32();
    for (std::int32_t i = 0; i < count && !r.at_end(); ++i) {
        const std::int32_t id = r.Int32();
        std::string abbr = r.ShortText();
        for (auto& t : store.types) {
            if (t->id == id) {
                t->abbr = std::move(abbr);
                break;
            }
        }
        data::report_position(ctx, r);
    }
}

void read_genre_groups(const DataContext& ctx, FieldReader& r, data::RecordBudget& budget) {
    if (r.at_end()) return;  // the body ends before this section: nothing more to read
    all_list& store = ctx.store;
    std::unordered_map<std::int32_t, std::int32_t> row_of;
    for (std::size_t k = 0; k < store.types.size(); ++k)
        row_of.emplace(store.types[k]->id, std::int32_t(k));
    IdCounter ids;
    ids.seed(store.type_groups);
    const std::int32_t count = r.Int32();
    for (std::int32_t i = 0; i < count && !r.at_end(); ++i) {
        const std::int32_t id = r.Int32();
        std::string name = r.LongText();
        const std::int32_t members = r.Int32();
        std::vector<type_group_member> list;
        for (std::int32_t k = 0; k < members; ++k) {  // not guarded: a short list is damage
            type_group_member m;
            m.type_id = r.Int32();
            m.row = r.Int32();
            budget.charge(sizeof(m));
            // Members name catalogue genres; `row` is that genre's position. A member of an
            // unknown genre is dropped, a wrong row put right, so the views can index by it.
            const auto it = row_of.find(m.type_id);
            if (it == row_of.end()) continue;
            m.row = it->second;
            list.push_back(m);
        }
        auto group = add_type_group(store, ids.take(id), std::move(name));
        group->members = std::move(list);
        data::report_position(ctx, r);
    }
}

}  // namespace

namespace {

// What u.dat loading adds to the store, so a body found damaged after some of it was read can
// be taken out again: its lists only grow at their ends, and the abbreviations are few.
class USnapshot final {
public:
    explicit USnapshot(const all_list& s)
        : m_channels(s.channels.size()),
          m_logos(s.logos.size()),
          m_groups(s.chl_groups.size()),
          m_type_groups(s.type_groups.size()) {
        for (const auto& t : s.types) m_abbr.push_back(t->abbr);
    }
    void restore(all_list& s) const {
        s.channels.resize(m_channels);
        s.logos.resize(m_logos);
        s.chl_groups.resize(m_groups);
        s.type_groups.resize(m_type_groups);
        for (std::size_t i = 0; i < s.types.size() && i < m_abbr.size(); ++i)
            s.types[i]->abbr = m_abbr[i];
    }

private:
    std::size_t m_channels, m_logos, m_groups, m_type_groups;
    std::vector<std::string> m_abbr;
};

}  // namespace

bool load_u(const DataContext& ctx) {
    bool failed = false;
    auto file = data::open_stream(ctx, "u.dat", true, failed);
    if (!file) return !failed;
    all_list& store = ctx.store;
    const USnapshot before(store);
    // The body is read as it inflates; a body that turns out damaged (even at its checksum)
    // is taken out again, while one that merely ends inside a record keeps what came before.
    InflateStream stream(file->compressed(), &ctx.progress, ctx.body_limit);
    FieldReader r(stream);
    bool cut = false;
    data::RecordBudget budget(ctx);
    try {
        read_channels(ctx, r, file->version, budget);
        read_groups(ctx, r, budget);
        read_genres(ctx, r);
        read_genre_groups(ctx, r, budget);
    } catch (const field_error&) {
        cut = true;
    }
    const bool damaged = !stream.finish();
    if (damaged) before.restore(store);
    if (damaged || cut) data::report_damaged(ctx, "u.dat");
    // The groups read so far count, also after damage.
    store.recount_chl_groups();
    return !damaged && !cut;
}

}  // namespace zt
