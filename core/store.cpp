#include "core/store.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/collation.h"
#include "core/cp1251.h"
#include "core/time_zones.h"

namespace zt {

all_list::all_list() : all_list(std::make_shared<SystemClock>()) {}

all_list::all_list(std::shared_ptr<const Clock> clock)
    : day_names(default_day_names()),
      fs_short(make_fs_short()),
      fs_file(make_fs_file()),
      fs_view(make_fs_view(day_names)),
      m_clock(std::move(clock)) {}

std::shared_ptr<chl_serv_list> all_list::add_channel(std::int32_t id, std::string name,
                                                     std::string descr, std::string stamp,
                                                     std::int32_t logo) {
    auto c = std::make_shared<chl_serv_list>();
    c->id = id;
    c->name = std::move(name);
    c->descr = std::move(descr);
    c->stamp = std::move(stamp);
    c->logo = logo;
    channels.push_back(c);
    return c;
}

std::shared_ptr<chl_serv_list> all_list::find_channel(std::int32_t id) const {
    for (const auto& c : channels)
        if (c->id == id) return c;
    return nullptr;
}

void all_list::delete_channel(std::size_t index) {
    if (index >= channels.size()) return;
    const std::int32_t id = channels[index]->id;
    for (auto& g : chl_groups)
        std::erase_if(g->members, [id](const auto& m) { return m->chl_id == id; });
    channels.erase(channels.begin() + std::ptrdiff_t(index));
}

void all_list::recount_chl_groups() {
    // One pass over the members of each group instead of one per channel.
    std::unordered_map<std::int32_t, std::int32_t> counts;
    std::unordered_set<std::int32_t> seen;
    for (const auto& g : chl_groups) {
        seen.clear();
        for (const auto& m : g->members)
            if (seen.insert(m->chl_id).second) ++counts[m->chl_id];
    }
    for (auto& c : channels) {
        const auto it = counts.find(c->id);
        c->group_count = it == counts.end() ? 0 : it->second;
    }
}

std::int32_t all_list::add_logo(logo_images images) {
    logos.push_back(std::move(images));
    return std::int32_t(logos.size() - 1);
}

std::shared_ptr<chl_group_list> all_list::add_chl_group(std::int32_t id, std::string name,
                                                        std::string descr) {
    if (id == -1) {
        const auto next = next_id(chl_groups);
        if (!next) return nullptr;
        id = *next;
    }
    auto g = std::make_shared<chl_group_list>();
    g->id = id;
    g->name = name.empty() ? "Новая "_cp + std::to_string(g->id) : std::move(name);
    g->descr = std::move(descr);
    chl_groups.push_back(g);
    return g;
}

std::shared_ptr<chl_local_list> all_list::add_chl_local(chl_group_list& group, std::int32_t id,
                                                        std::int32_t chl_id,
                                                        std::shared_ptr<chl_serv_list> chl,
                                                        std::string name, std::string descr,
                                                        std::string shift_text, std::string button,
                                                        std::int32_t logo) {
    if (!chl) chl = find_channel(chl_id);
    if (!chl) return nullptr;
    if (id == -1) {
        const auto next = next_id(group.members);
        if (!next) return nullptr;
        id = *next;
    }
    auto m = std::make_shared<chl_local_list>();
    m->id = id;
    m->chl_id = chl_id;
    m->name = name.empty() ? chl->name : std::move(name);
    m->descr = std::move(descr);
    if (shift_text.empty()) {
        m->shift_text = "00:00";
        m->shift = DateTime();
        m->shift_plus = 0;
    } else {
        m->shift = parse_shift(shift_text);
        m->shift_plus = shift_is_plus(shift_text);
        m->shift_text = std::move(shift_text);
    }
    m->button = std::move(button);
    m->logo = logo == -1 ? chl->logo : logo;
    m->chl = std::move(chl);
    group.members.push_back(m);
    return m;
}

std::shared_ptr<chl_group_list> all_list::ensure_default_group() {
    if (channels.empty()) return nullptr;
    if (chl_groups.empty()) {
        auto g = add_chl_group(-1, "По умолчанию"_cp, "");
        if (!g) return nullptr;
        for (const auto& c : channels) add_chl_local(*g, -1, c->id, c, "", "", "", "", c->logo);
        recount_chl_groups();
        sort_by_name(g->members);
        return g;
    }
    if (cur_group >= 0 && std::size_t(cur_group) < chl_groups.size())
        return chl_groups[std::size_t(cur_group)];
    return chl_groups.front();
}

void all_list::add_dt_local(chl_serv_list& channel, const std::string& date, std::uint8_t full,
                            std::uint8_t with_anons) {
    const std::uint8_t f = full == 1 ? 1 : 0;
    for (auto it = channel.dates.begin(); it != channel.dates.end();) {
        if (it->date != date) {
            ++it;
            continue;
        }
        // Never downgrade a day to a poorer download.
        if ((it->with_anons == 1 && with_anons == 0) || (it->full == 1 && f == 0)) return;
        it = channel.dates.erase(it);
    }
    channel.dates.push_back(dt_local_list{date, f, with_anons});
}

std::vector<std::shared_ptr<tvprog_serv_list>> all_list::clear_day_tvprog(chl_serv_list& channel,
                                                                          const std::string& date) {
    std::vector<std::shared_ptr<tvprog_serv_list>> removed;
    const auto day = fs_file.parse(date);
    if (!day) return removed;
    const DateTime from = day->date();
    const DateTime to = from.addDays(1);
    std::erase_if(channel.tvprog, [&](const auto& p) {
        if (p->start < from || p->start >= to) return false;
        removed.push_back(p);
        return true;
    });
    return removed;
}

void all_list::carry_user_state(chl_serv_list& channel,
                                const std::vector<std::shared_ptr<tvprog_serv_list>>& old,
                                const std::vector<std::shared_ptr<tvprog_serv_list>>& fresh) {
    if (old.empty()) return;
    for (const auto& p : fresh) {
        const tvprog_serv_list* from = nullptr;
        for (const auto& o : old) {
            if (o->id != p->id) continue;
            if (!from || o->start == p->start) from = o.get();
            if (o->start == p->start) break;
        }
        if (!from) continue;
        p->mark = from->mark;
        p->alarm = from->alarm;
        p->love = from->love;
        p->reported = from->reported;
    }
    // A pending report entry follows its programme into the new day.
    for (auto& e : channel.report) {
        if (!e.prog || std::find(old.begin(), old.end(), e.prog) == old.end()) continue;
        std::shared_ptr<tvprog_serv_list> to;
        for (const auto& p : fresh)
            if (p->id == e.prog->id && (!to || p->start == e.prog->start)) to = p;
        e.prog = to;
    }
}

std::shared_ptr<tvprog_serv_list> all_list::add_tvprog(chl_serv_list& channel,
                                                       tvprog_fields fields) {
    auto p = std::make_shared<tvprog_serv_list>();
    p->id = fields.id;
    p->continued = fields.continued;
    p->start = fields.start;
    p->finish = fields.finish;
    p->type = find_type(fields.type_family, fields.type_sub);
    p->type_family = fields.type_family;
    p->type_sub = fields.type_sub;
    p->rating = fields.rating;
    p->reported = fields.reported;
    p->title = std::move(fields.title);
    p->descr = std::move(fields.descr);
    if (fields.anons_id != -1) p->anons = find_anons(channel, fields.anons_id);
    p->mark = fields.mark;
    if (fields.love_id != -1) p->love = find_love(channel, fields.love_id);
    p->alarm = fields.alarm;
    channel.tvprog.push_back(p);
    return p;
}

void all_list::apply_tvprog_marks(chl_serv_list& channel, std::int32_t id, DateTime start,
                                  std::uint8_t mark, std::int32_t love_id, std::uint8_t alarm) {
    for (auto& p : channel.tvprog) {
        if (p->id == id && p->start == start) {
            p->mark = mark;
            p->alarm = alarm;
            p->love = love_id == -1 ? nullptr : find_love(channel, love_id);
            return;
        }
    }
}

namespace {
constexpr std::int32_t kIndexRange = 256;
bool in_index(std::int32_t family, std::int32_t sub) {
    return family >= 1 && family < kIndexRange && sub >= 0 && sub < kIndexRange;
}
}  // namespace

void all_list::take_loaded(all_list& from) {
    channels.swap(from.channels);
    chl_groups.swap(from.chl_groups);
    logos.swap(from.logos);
    types.swap(from.types);
    type_groups.swap(from.type_groups);
    index_types();
    from.index_types();
}

void all_list::index_types() {
    m_type_index.assign(std::size_t(kIndexRange * kIndexRange), nullptr);
    // Backwards, so the first genre of a repeated pair wins.
    for (std::size_t i = types.size(); i-- > 0;) {
        const type_serv_list& t = *types[i];
        if (in_index(t.family, t.sub))
            m_type_index[std::size_t(t.family * kIndexRange + t.sub)] = &t;
    }
    m_type_index_size = types.size();
}

const type_serv_list* all_list::find_type(std::int32_t family, std::int32_t sub) const {
    if (family <= 0) return nullptr;
    if (in_index(family, sub) && m_type_index_size == types.size() && !types.empty())
        return m_type_index[std::size_t(family * kIndexRange + sub)];
    for (const auto& t : types)
        if (t->family == family && t->sub == sub) return t.get();
    return nullptr;
}

std::shared_ptr<anons_serv_list> all_list::add_anons(chl_serv_list& channel, std::int32_t id,
                                                     std::string text, std::string picture) {
    auto a = std::make_shared<anons_serv_list>();
    a->id = id;
    a->text = std::move(text);
    a->picture = std::move(picture);
    channel.anons.push_back(a);
    return a;
}

std::shared_ptr<anons_serv_list> all_list::find_anons(const chl_serv_list& channel,
                                                      std::int32_t id) {
    for (const auto& a : channel.anons)
        if (a->id == id) return a;
    return nullptr;
}

std::shared_ptr<love_list> all_list::find_love(const chl_serv_list& channel, std::int32_t id) {
    for (const auto& l : channel.love)
        if (l->id == id) return l;
    return nullptr;
}

std::shared_ptr<love_list> all_list::add_love(chl_serv_list& channel, std::int32_t id,
                                              std::string title, std::uint8_t liked,
                                              DateTime seen) {
    if (id == -1) {
        const auto next = next_id(channel.love);
        if (!next) return nullptr;
        id = *next;
    }
    auto l = std::make_shared<love_list>();
    l->id = id;
    l->title = std::move(title);
    l->liked = liked;
    l->seen = seen;
    channel.love.push_back(l);
    return l;
}

void all_list::add_time_gmt(std::string caption, std::int32_t hour, std::int32_t minute) {
    time_zones.push_back(time_gmt{hour, minute, std::move(caption)});
}

}  // namespace zt
