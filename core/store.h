#pragma once

#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/format_set.h"
#include "core/records.h"

namespace zt {

// A new programme as add_tvprog takes it: the record's own fields, with the genre, the
// announcement and the favourite given by their ids (-1: none) and resolved in the store.
struct tvprog_fields final {
    std::int32_t id = 0;
    std::uint8_t continued = 0;
    DateTime start{};
    DateTime finish{};
    std::int32_t type_family = 0;
    std::int32_t type_sub = 0;
    std::int32_t rating = 0;
    std::uint8_t reported = 0;
    std::string title{};
    std::string descr{};
    std::int32_t anons_id = -1;
    std::uint8_t mark = 0;
    std::int32_t love_id = -1;
    std::uint8_t alarm = 0;
};

// The schedule store: every channel with its programmes, announcements, favourites and
// downloaded days, the user's channel groups, the genre catalogue and genre groups, and the
// time-zone presets. Lookups are linear scans in list order; lists keep insertion order.
class all_list final {
public:
    // Creates the empty store with its defaults and an own system clock.
    all_list();
    explicit all_list(std::shared_ptr<const Clock> clock);

    const Clock& clock() const { return *m_clock; }
    void set_clock(std::shared_ptr<const Clock> clock) { m_clock = std::move(clock); }

    // --- channels
    std::shared_ptr<chl_serv_list> add_channel(std::int32_t id, std::string name, std::string descr,
                                               std::string stamp, std::int32_t logo);
    std::shared_ptr<chl_serv_list> find_channel(std::int32_t id) const;
    void delete_channel(std::size_t index);
    void recount_chl_groups();
    // Appends a channel's three logo images to the logo image list; returns their index.
    std::int32_t add_logo(logo_images images);

    // --- groups
    // The add operations below take id -1 for "the next id" (next_id); they create nothing and
    // return null when no id is left (kNoIdLeftMessage).
    std::shared_ptr<chl_group_list> add_chl_group(std::int32_t id, std::string name,
                                                  std::string descr);
    // `chl` may be null: the channel is then looked up by `chl_id`. Returns null when no such
    // channel exists (a member never refers to a missing channel).
    std::shared_ptr<chl_local_list> add_chl_local(chl_group_list& group, std::int32_t id,
                                                  std::int32_t chl_id,
                                                  std::shared_ptr<chl_serv_list> chl,
                                                  std::string name, std::string descr,
                                                  std::string shift_text, std::string button,
                                                  std::int32_t logo);
    // Creates "По умолчанию" when there are channels but no groups; returns the group to show
    // (null when there are no channels).
    std::shared_ptr<chl_group_list> ensure_default_group();

    // --- days. `full` is the level the day is held at: 1 when a signed-in account (one with
    // a balance) downloaded it, 0 otherwise; `with_anons` 1 when it came with announcements.
    // A day already held at a better level stays as it is.
    void add_dt_local(chl_serv_list& channel, const std::string& date, std::uint8_t full,
                      std::uint8_t with_anons);

    // --- programmes
    // Removes the programmes starting on `date` ("yyyy-MM-dd") and returns them.
    std::vector<std::shared_ptr<tvprog_serv_list>> clear_day_tvprog(chl_serv_list& channel,
                                                                    const std::string& date);
    // A replaced day keeps the user's own state: each programme of `fresh` takes mark,
    // reminder, favourite and `reported` from the programme of the same id in `old` (the one
    // with the same start first), and the channel's pending report points at the new
    // programme.
    static void carry_user_state(chl_serv_list& channel,
                                 const std::vector<std::shared_ptr<tvprog_serv_list>>& old,
                                 const std::vector<std::shared_ptr<tvprog_serv_list>>& fresh);
    // Appends a programme to the channel's list.
    std::shared_ptr<tvprog_serv_list> add_tvprog(chl_serv_list& channel, tvprog_fields fields);
    void apply_tvprog_marks(chl_serv_list& channel, std::int32_t id, DateTime start,
                            std::uint8_t mark, std::int32_t love_id, std::uint8_t alarm);
    // The first genre with that family and sub-genre; none for family 0 or less.
    const type_serv_list* find_type(std::int32_t family, std::int32_t sub) const;
    // Rebuilds the lookup table of find_type (build_types does after the catalogue); while
    // `types` has another size than at the last call, find_type scans the list instead.
    void index_types();

    // --- announcements and favourites
    std::shared_ptr<anons_serv_list> add_anons(chl_serv_list& channel, std::int32_t id,
                                               std::string text, std::string picture);
    static std::shared_ptr<anons_serv_list> find_anons(const chl_serv_list& channel,
                                                       std::int32_t id);
    static std::shared_ptr<love_list> find_love(const chl_serv_list& channel, std::int32_t id);
    std::shared_ptr<love_list> add_love(chl_serv_list& channel, std::int32_t id, std::string title,
                                        std::uint8_t liked, DateTime seen);

    // --- a store filled elsewhere
    // Takes over what loading the data files puts into a store (channels with their
    // programmes, groups, logos, the genre catalogue with its abbreviations and genre groups)
    // from `from`, which gets this store's lists in exchange. The programmes' genres point into
    // the catalogue that comes with them.
    void take_loaded(all_list& from);

    // --- time zones
    void add_time_gmt(std::string caption, std::int32_t hour, std::int32_t minute);

    // --- state
    std::string exe_dir;  // with a trailing '/'
    std::array<std::string, 7> day_names;
    FormatSet fs_short;
    FormatSet fs_file;
    FormatSet fs_view;
    DateTime week_cur;
    DateTime week_next;
    std::string week_cur_caption;   // "Текущая (A - B)"
    std::string week_next_caption;  // "Будущая (C - D)"
    const DateTime one_minute = DateTime::fromMinutes(1);

    std::vector<time_gmt> time_zones;
    std::vector<std::shared_ptr<chl_group_list>> chl_groups;
    std::vector<std::shared_ptr<chl_serv_list>> channels;
    std::vector<std::shared_ptr<type_group_list>> type_groups;
    std::vector<std::unique_ptr<type_serv_list>> types;
    std::vector<logo_images> logos;

    std::int32_t cur_group = -1;

    std::string data_dir() const { return exe_dir + "dat/"; }

private:
    std::shared_ptr<const Clock> m_clock;
    // Genres by (family, sub-genre) for the byte range the files and the server carry, valid
    // while `types` has the size it had when it was built.
    std::vector<const type_serv_list*> m_type_index;
    std::size_t m_type_index_size = 0;
};

// The next id of a list whose records have an `id`: the largest present plus 1, or 1; nullopt
// when the largest is already the largest id there can be (no record can be created then).
template <class List>
std::optional<std::int32_t> next_id(const List& list) {
    std::int32_t top = 0;
    for (const auto& r : list)
        if (r->id > top) top = r->id;
    if (top == std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return top + 1;
}

// What the window that asked for a new group, member, favourite or genre group shows (kind 2)
// when the add operation refused for want of an id. UTF-8.
constexpr const char* kNoIdLeftMessage = "Невозможно создать запись: номера записей исчерпаны.";

}  // namespace zt
