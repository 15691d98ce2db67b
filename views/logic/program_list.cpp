#include "views/logic/program_list.h"

#include <algorithm>
#include <iterator>

#include "core/cp1251.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "storage/settings_layout.h"

namespace zt::views {
namespace {

constexpr std::int64_t kDayMinutes = 1440;

// A time edit of the "По дням" page as minutes of the day; an invalid text counts as the
// value the edit would take when it is left.
std::int64_t day_time_minutes(const std::string& text, std::int64_t fallback) {
    if (!time_text_valid(text, 23)) return fallback;
    std::string_view t = text;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) t.remove_prefix(1);
    const std::size_t colon = t.find(':');
    return leading_int(t.substr(0, colon)) * 60 + leading_int(t.substr(colon + 1));
}

// Whole minutes, rounded up.
std::int64_t ceil_minutes(std::int64_t seconds) {
    return seconds >= 0 ? (seconds + 59) / 60 : -((-seconds) / 60);
}

// Whether `hay`, lower-cased, contains `needle` (already lower-case, not empty).
bool contains_lowered(std::string_view hay, std::string_view needle,
                      const std::array<unsigned char, 256>& low) {
    return cp1251_find_lowered(hay, needle, low) != std::string_view::npos;
}

// The stored (unshifted) moment that a channel of a group shows as `shown`.
DateTime unshift(const chl_local_list& member, DateTime shown) {
    return member.shift_plus == 1 ? shown - member.shift : shown + member.shift;
}

// Visits the chosen members of the group in order.
template <class Fn>
void for_chosen(const chl_group_list& group, const std::vector<std::uint8_t>& chosen, Fn&& fn) {
    for (std::size_t i = 0; i < group.members.size() && i < chosen.size(); ++i) {
        const auto& m = group.members[i];
        if (chosen[i] != 1 || !m || !m->chl) continue;
        fn(m);
    }
}

}  // namespace

const std::array<ColumnInfo, col_count>& program_columns() {
    // The widths are the first-start widths the settings hold, so a column brought back by
    // the column chooser and a first start agree.
    static const std::array<ColumnInfo, col_count> columns = [] {
        const std::vector<int> w = ProgramPagesSettings::default_columns();
        return std::array<ColumnInfo, col_count>{{
            {"Канал", w[0], false},
            {"Кнопка", w[1], true},
            {"Начало", w[2], true},
            {"Конец", w[3], true},
            {"Длительность", w[4], true},
            {"Осталось", w[5], true},
            {"Рейтинг", w[6], true},
            {"Передача", w[7], false},
        }};
    }();
    return columns;
}

const char* widest_cell_text(int column) {
    switch (column) {
        case col_button:
            return "99";
        case col_start:
        case col_finish:
        case col_duration:
            return "00:00";
        case col_left:
            return " 00:00   100%";
        case col_rating:
            return "100%";
        default:
            return "";
    }
}

LoveState tvprog_local_list::love() const {
    if (!prog->love) return LoveState::none;
    return prog->love->liked == 1 ? LoveState::liked : LoveState::disliked;
}

TitleFill tvprog_local_list::title_fill() const {
    if (prog->mark == 1) return TitleFill::mark;
    if (prog->love) {
        if (prog->love->liked == 1) return TitleFill::liked;
        if (prog->love->liked == 0) return TitleFill::disliked;
    }
    return TitleFill::none;
}

RowTextColour tvprog_local_list::text_colour(ProgramPage page) const {
    if (past == 1) return RowTextColour::past;
    if (on_air() && page != ProgramPage::now) return RowTextColour::on_air;
    return RowTextColour::normal;
}

std::string search_lower(std::string_view text) {
    return cp1251_lower(text);
}

// --- rows

void ProgramList::begin(const all_list& store, const PageOptions& options) {
    m_rows.clear();
    m_page = options.page;
    m_view = options.view;
    m_fs_view = store.fs_view;
    m_plain_time = m_fs_view.long_time == "hh:mm";
    std::int32_t top = 0;
    for (const auto& t : store.types) top = std::max(top, t->id);
    m_genre_by_id.assign(std::size_t(top) + 1, 1);
    const auto& on = options.panels.genre_on;
    for (std::size_t i = 0; i < store.types.size(); ++i) {
        const auto& t = *store.types[i];
        if (t.id < 0) continue;
        const std::uint8_t shown = on.empty() ? t.filter_on : (i < on.size() ? on[i] : 1);
        m_genre_by_id[std::size_t(t.id)] = shown == 1 ? 1 : 0;
    }
}

bool ProgramList::genre_shown(const type_serv_list& type) const {
    if (type.id >= 0 && std::size_t(type.id) < m_genre_by_id.size())
        return m_genre_by_id[std::size_t(type.id)] == 1;
    return type.filter_on == 1;
}

bool ProgramList::AddProgramRow(const std::shared_ptr<tvprog_serv_list>& prog,
                                const std::shared_ptr<chl_local_list>& member, DateTime s,
                                DateTime f, DateTime now) {
    return add_row(m_rows, prog, member, s, f, now);
}

bool ProgramList::add_row(std::vector<tvprog_local_list>& out,
                          const std::shared_ptr<tvprog_serv_list>& prog,
                          const std::shared_ptr<chl_local_list>& member, DateTime s, DateTime f,
                          DateTime now) const {
    if (!m_view.show_past && f < now) return false;

    // The verdict: each rule that applies overwrites it, so the last one wins (no genre, then
    // reminder, then mark, then favourite or disliked title).
    enum class Verdict { none, show, hide };
    Verdict v = Verdict::none;
    const auto& sys = m_view.system;
    auto by = [](bool checked) { return checked ? Verdict::show : Verdict::hide; };
    if (prog->love) {
        if (prog->love->liked == 0)
            v = by(sys[SystemCategory::Disliked]);
        else if (prog->love->liked == 1)
            v = by(sys[SystemCategory::Liked]);
    }
    if (prog->mark == 1) v = by(sys[SystemCategory::Mark]);
    if (prog->alarm == 1) v = by(sys[SystemCategory::Alarm]);
    if (!prog->type) v = by(sys[SystemCategory::NoType]);

    if (v == Verdict::hide) return false;
    if (v == Verdict::none && !genre_shown(*prog->type)) return false;

    tvprog_local_list& row = out.emplace_back();
    row.prog = prog;
    row.member = member;
    row.start = s;
    row.finish = f;
    row.start_text = time_cell(s);
    row.finish_text = time_cell(f);
    row.duration_text = time_text(f - s);
    set_times(row, now);
    return true;
}

std::string ProgramList::time_text(DateTime v) const {
    if (!m_plain_time) return m_fs_view.formatTime(v);
    const auto minutes = int(v.timeOfDay() / 60);
    const int h = minutes / 60, m = minutes % 60;
    const char text[5] = {char('0' + h / 10), char('0' + h % 10), ':', char('0' + m / 10),
                          char('0' + m % 10)};
    return std::string(text, 5);
}

std::string ProgramList::time_cell(DateTime v) const {
    std::string t = time_text(v);
    if (!m_view.date_in_columns) return t;
    return "   " + t + "     " + m_fs_view.formatDate(v);
}

void ProgramList::set_times(tvprog_local_list& row, DateTime now) const {
    row.past = row.finish < now ? 1 : 0;
    if (row.start <= now && now <= row.finish) {
        // The time left is rounded up to whole minutes: 59.5 minutes left show as 01:00.
        const std::int64_t left = ceil_minutes((row.finish - now).seconds());
        const std::int64_t length = ceil_minutes((row.finish - row.start).seconds());
        row.left_text = time_text(DateTime::fromMinutes(left));
        // A programme shorter than a minute is wholly ahead while it is on air.
        row.left_percent =
            length > 0 ? std::int32_t(std::clamp<std::int64_t>(left * 100 / length, 0, 100)) : 100;
    } else {
        row.left_text.clear();
        row.left_percent = -1;
    }
}

void ProgramList::refresh_times(DateTime now) {
    for (auto& row : m_rows) set_times(row, now);
}

void ProgramList::refresh(const all_list& store, const PageOptions& options) {
    if (options.page != m_page || options.page == ProgramPage::now ||
        options.page == ProgramPage::soon) {
        rebuild(store, options);
        return;
    }
    refresh_times(options.now);
}

const tvprog_local_list* ProgramList::row(long long index) const {
    if (index < 0 || std::size_t(index) >= m_rows.size()) return nullptr;
    return &m_rows[std::size_t(index)];
}

tvprog_local_list* ProgramList::row(long long index) {
    if (index < 0 || std::size_t(index) >= m_rows.size()) return nullptr;
    return &m_rows[std::size_t(index)];
}

// --- texts

std::string ProgramList::title_line(const tvprog_serv_list& prog) const {
    std::string line;
    if (m_view.abbreviations && prog.type && !prog.type->abbr.empty())
        line = prog.type->abbr + " \"" + prog.title + "\"";
    else
        line = prog.title;
    if (!prog.descr.empty()) line += m_view.descr_left + prog.descr + m_view.descr_right;
    return line;
}

std::string ProgramList::cell_text(const tvprog_local_list& row, int column) const {
    switch (column) {
        case col_channel:
            return row.member ? row.member->name : std::string();
        case col_button:
            return row.member ? row.member->button : std::string();
        case col_start:
            return row.start_text;
        case col_finish:
            return row.finish_text;
        case col_duration:
            return row.duration_text;
        case col_left:
            if (row.left_percent > -1)
                return " " + row.left_text + "   " + std::to_string(row.left_percent) + "%";
            return {};
        case col_rating:
            if (row.prog->rating > 0) return std::to_string(row.prog->rating) + "%";
            return {};
        case col_title:
            return title_line(*row.prog);
        default:
            return {};
    }
}

std::string ProgramList::table_start_text(const tvprog_local_list& row) const {
    if (m_page != ProgramPage::find || m_view.date_in_columns) return row.start_text;
    int year = 0, month = 0, day = 0;
    row.start.toParts(year, month, day);
    const char date[6] = {char('0' + day / 10),   char('0' + day % 10),   '.',
                          char('0' + month / 10), char('0' + month % 10), ' '};
    return std::string(date, 6) + row.start_text;
}

std::string ProgramList::cell_text(std::size_t index, int column) const {
    if (index >= m_rows.size()) return {};
    return cell_text(m_rows[index], column);
}

// --- the pages

void ProgramList::rebuild(const all_list& store, const PageOptions& options) {
    begin(store, options);
    if (options.panels.group < 0 || std::size_t(options.panels.group) >= store.chl_groups.size())
        return;
    const chl_group_list& group = *store.chl_groups[std::size_t(options.panels.group)];
    m_chosen = options.panels.chosen;
    if (m_chosen.empty())
        for (const auto& m : group.members) m_chosen.push_back(m && m->selected == 1 ? 1 : 0);
    switch (options.page) {
        case ProgramPage::now:
            enumerate_now(group, options);
            break;
        case ProgramPage::soon:
            enumerate_soon(group, options);
            break;
        case ProgramPage::days:
            enumerate_days(store, group, options);
            break;
        case ProgramPage::find:
            enumerate_find(group, options);
            break;
    }
}

void ProgramList::enumerate_now(const chl_group_list& group, const PageOptions& o) {
    const DateTime now = o.now;
    for_chosen(group, m_chosen, [&](const std::shared_ptr<chl_local_list>& m) {
        // A programme ending this very minute is shown only where nothing has followed it yet;
        // otherwise its successor stands alone for the channel.
        const std::shared_ptr<tvprog_serv_list>* ending = nullptr;
        DateTime ending_start;
        bool on_air = false;
        const auto& progs = m->chl->tvprog;
        // Only programmes that started at most the channel's longest programme ago can be on
        // air; they are visited in list order.
        const DateTime at = unshift(*m, now);
        m_starts.starting_within(*m->chl, at - m_starts.longest(*m->chl), at, m_candidates);
        for (const std::uint32_t i : m_candidates) {
            const auto& p = progs[i];
            const DateTime s = apply_shift(*m, p->start);
            if (s > now) continue;
            const DateTime f = apply_shift(*m, p->finish);
            if (f > now) {
                AddProgramRow(p, m, s, f, now);
                on_air = true;
            } else if (f == now) {
                ending = &p;
                ending_start = s;
            }
        }
        if (ending && !on_air) AddProgramRow(*ending, m, ending_start, now, now);
    });
    m_starts.sweep();
}

void ProgramList::enumerate_soon(const chl_group_list& group, const PageOptions& o) {
    const DateTime now = o.now;
    const DateTime t_start = parse_shift(o.soon.time_start);
    DateTime t_finish = parse_shift(o.soon.time_finish);
    const int limit = std::clamp(o.soon.line, 1, 99);
    DateTime a, b;
    if (o.soon.offset_kind == SoonOffset::times_of_day) {
        if (t_finish < t_start) t_finish = t_finish.addDays(1);
        a = now.date() + t_start;
        b = now.date() + t_finish;
    } else {
        a = now + t_start;
        b = now + t_finish;
    }
    for_chosen(group, m_chosen, [&](const std::shared_ptr<chl_local_list>& m) {
        const auto& progs = m->chl->tvprog;
        DateTime wa = a, wb = b;
        if (o.soon.offset_kind == SoonOffset::from_current_end) {
            // The window follows the end of this channel's current programme (the first in
            // list order); a channel with nothing on air has no window and gives no rows.
            const DateTime at = unshift(*m, now);
            m_starts.starting_within(*m->chl, at - m_starts.longest(*m->chl), at, m_candidates);
            bool found = false;
            for (const std::uint32_t i : m_candidates) {
                const auto& p = progs[i];
                const DateTime s = apply_shift(*m, p->start);
                const DateTime f = apply_shift(*m, p->finish);
                if (s <= now && now <= f) {
                    wa = f + t_start;
                    wb = f + t_finish;
                    found = true;
                    break;
                }
            }
            if (!found) return;
        }
        // The programmes starting in the window, in list order; those hidden by the filters
        // count towards the limit too.
        m_starts.starting_within(*m->chl, unshift(*m, wa), unshift(*m, wb), m_candidates);
        int counter = 0;
        for (const std::uint32_t i : m_candidates) {
            if (counter >= limit) break;
            const auto& p = progs[i];
            const DateTime s = apply_shift(*m, p->start);
            if (s < wa || s > wb) continue;
            AddProgramRow(p, m, s, apply_shift(*m, p->finish), now);
            ++counter;
        }
    });
    m_starts.sweep();
}

void ProgramList::enumerate_days(const all_list& store, const chl_group_list& group,
                                 const PageOptions& o) {
    const DateTime week = days_week_start(store, o.days.next_week);
    const std::int64_t d_start = day_time_minutes(o.days.time_start, 0);
    std::int64_t d_finish = day_time_minutes(o.days.time_finish, 23 * 60 + 59);
    if (d_finish <= d_start) d_finish += kDayMinutes;

    struct Window {
        DateTime from, to;
    };
    std::vector<Window> windows;
    for (int j = 0; j < 7; ++j) {
        if (!o.days.days[std::size_t(j)]) continue;
        const DateTime day = week.addDays(j);
        windows.push_back({day.addMinutes(d_start), day.addMinutes(d_finish)});
    }
    if (windows.empty()) return;
    const DateTime now = o.now;

    const DateTime lowest = windows.front().from, highest = windows.back().to;
    if (o.days.by_day) {
        // Day by day: every window in turn lists the chosen channels' programmes that start in
        // it, so a programme on the boundary of two windows is listed under both. One pass over
        // the programmes builds the rows of every window (the first window's straight into the
        // list, the others aside); the other windows' rows then follow in day order.
        m_window_rows.resize(windows.size());
        for_chosen(group, m_chosen, [&](const std::shared_ptr<chl_local_list>& m) {
            for (const auto& p : m->chl->tvprog) {
                const DateTime s = apply_shift(*m, p->start);
                if (s < lowest || s > highest) continue;
                for (std::size_t w = 0; w < windows.size(); ++w)
                    if (windows[w].from <= s && s <= windows[w].to)
                        add_row(w == 0 ? m_rows : m_window_rows[w], p, m, s,
                                apply_shift(*m, p->finish), now);
            }
        });
        std::size_t total = m_rows.size();
        for (const auto& rows : m_window_rows) total += rows.size();
        m_rows.reserve(total);
        for (auto& rows : m_window_rows) {
            std::move(rows.begin(), rows.end(), std::back_inserter(m_rows));
            rows.clear();
        }
        return;
    }
    for_chosen(group, m_chosen, [&](const std::shared_ptr<chl_local_list>& m) {
        for (const auto& p : m->chl->tvprog) {
            const DateTime s = apply_shift(*m, p->start);
            if (s < lowest || s > highest) continue;
            for (const Window& w : windows) {
                if (w.from <= s && s <= w.to) {
                    AddProgramRow(p, m, s, apply_shift(*m, p->finish), now);
                    break;
                }
            }
        }
    });
}

void ProgramList::enumerate_find(const chl_group_list& group, const PageOptions& o) {
    const std::string needle = search_lower(o.find.text);
    if (needle.empty()) return;
    const auto& low = cp1251_lower_table();
    const FindIn mode = o.find.mode;
    const DateTime now = o.now;
    for_chosen(group, m_chosen, [&](const std::shared_ptr<chl_local_list>& m) {
        const auto& progs = m->chl->tvprog;
        for (std::size_t i = 0; i < progs.size(); ++i) {
            // The texts live apart from the records: ask for the ones a few steps ahead early,
            // so that walking many records does not wait on memory at every one.
            if (i + 8 < progs.size()) __builtin_prefetch(progs[i + 8].get());
            if (i + 4 < progs.size()) {
                const tvprog_serv_list& ahead = *progs[i + 4];
                if (mode != FindIn::description) __builtin_prefetch(ahead.title.data());
                if (mode != FindIn::title && ahead.anons) __builtin_prefetch(ahead.anons.get());
            }
            if (mode != FindIn::title && i + 2 < progs.size() && progs[i + 2]->anons)
                __builtin_prefetch(progs[i + 2]->anons->text.data());
            const auto& p = progs[i];
            bool hit = false;
            if (mode != FindIn::description) hit = contains_lowered(p->title, needle, low);
            if (!hit && mode != FindIn::title && p->anons)
                hit = contains_lowered(p->anons->text, needle, low);
            if (hit)
                AddProgramRow(p, m, apply_shift(*m, p->start), apply_shift(*m, p->finish), now);
        }
    });
}

}  // namespace zt::views
