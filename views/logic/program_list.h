#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/format_set.h"
#include "core/records.h"
#include "views/logic/page_options.h"
#include "views/logic/start_order.h"

namespace zt {
class all_list;
}

namespace zt::views {

// How a programme stands with the user's favourites.
enum class LoveState { none, liked, disliked };

// Colour of a row's text: on air is shown only outside "Сейчас"; past wins over on air.
enum class RowTextColour { normal, on_air, past };

// Fill of the title cell: a mark wins over a favourite or disliked title.
enum class TitleFill { none, mark, liked, disliked };

// Columns of the four programme tables.
enum ProgramColumn : int {
    col_channel = 0,  // "Канал": logo and the member's name
    col_button,       // "Кнопка"
    col_start,        // "Начало"
    col_finish,       // "Конец"
    col_duration,     // "Длительность"
    col_left,         // "Осталось"
    col_rating,       // "Рейтинг"
    col_title,        // "Передача"
    col_count
};

struct ColumnInfo final {
    const char* caption;  // UTF-8
    int width;            // default width in pixels
    bool centred;
};
const std::array<ColumnInfo, col_count>& program_columns();
// The widest text a column shows in the usual case (times without the date, " 00:00   100%");
// empty for the columns of names and titles, whose width is the user's choice.
const char* widest_cell_text(int column);
// The widest start the "Поиск" table shows ("00.00 00:00").
inline constexpr const char* kWidestDatedStart = "00.00 00:00";
// The narrowest the title column may become; the announcement and continuation icons are drawn
// only when it is at least this wide.
constexpr int kTitleMinWidth = 64;

// One line of the programme table now shown. The texts that need date arithmetic are made once
// when the row is built; the flags that decide colours are read live from the programme, so a
// row command shows at once without a rebuild.
struct tvprog_local_list final {
    std::shared_ptr<tvprog_serv_list> prog;
    std::shared_ptr<chl_local_list> member;
    DateTime start;   // with the member's time shift
    DateTime finish;  // with the member's time shift
    std::string start_text;
    std::string finish_text;
    std::string duration_text;
    std::string left_text;           // "" when not on air
    std::int32_t left_percent = -1;  // -1 when not on air
    std::uint8_t past = 0;           // finish earlier than the moment of the last update
    std::uint8_t merged = 0;         // scratch flag of the print layout

    bool on_air() const { return !left_text.empty(); }
    bool alarm() const { return prog->alarm == 1; }
    bool mark() const { return prog->mark == 1; }
    LoveState love() const;
    bool has_anons() const { return prog->anons != nullptr; }
    bool continued() const { return prog->continued == 1; }
    // "Подробнее" has something to show.
    bool has_details() const { return has_anons() || continued(); }
    TitleFill title_fill() const;
    RowTextColour text_colour(ProgramPage page) const;
    // Index in the genre icon list for the title cell: family + 3, or 0 without a family.
    int genre_icon() const { return prog->type_family > 0 ? prog->type_family + 3 : 0; }
};

// The rows of the active page (the one row list of the four tables) and the queries that
// fill it. Rows are kept in the order the page's enumeration meets the programmes; they are
// never sorted.
class ProgramList final {
public:
    // The domain part of a rebuild: every row is dropped and the page's candidates are offered
    // to AddProgramRow. No group (or a group index out of range) gives an empty list.
    void rebuild(const all_list& store, const PageOptions& options);

    // The minute tick: "Сейчас" and "Скоро" are rebuilt; on "По дням" and "Поиск" the rows are
    // kept and only their time left and past flag follow `options.now` (rows are neither added
    // nor removed, so a programme that has just ended stays listed until the next rebuild).
    void refresh(const all_list& store, const PageOptions& options);
    void refresh_times(DateTime now);

    // Drops every row and takes the context AddProgramRow reads: the view switches, the genre
    // filter and the display formats. rebuild() starts with it.
    void begin(const all_list& store, const PageOptions& options);
    // Filters one candidate (start s and finish f already shifted) and appends its row when it
    // passes. Returns whether it was added.
    bool AddProgramRow(const std::shared_ptr<tvprog_serv_list>& prog,
                       const std::shared_ptr<chl_local_list>& member, DateTime s, DateTime f,
                       DateTime now);

    std::vector<tvprog_local_list>& rows() { return m_rows; }
    const std::vector<tvprog_local_list>& rows() const { return m_rows; }
    std::size_t size() const { return m_rows.size(); }
    // The row at an index, or null outside the list.
    const tvprog_local_list* row(long long index) const;
    tvprog_local_list* row(long long index);
    ProgramPage page() const { return m_page; }
    void clear() { m_rows.clear(); }

    // The text of a cell (CP1251), as the table shows it. Column 0 gives the member's name.
    std::string cell_text(const tvprog_local_list& row, int column) const;
    std::string cell_text(std::size_t index, int column) const;
    // The start as the window's table shows it: on "Поиск", whose rows come from many days, the
    // day and month come first ("07.12 09:20") unless the dates are in the columns anyway.
    std::string table_start_text(const tvprog_local_list& row) const;
    // The "Передача" text: title, with the genre's abbreviation and the decorated description.
    std::string title_line(const tvprog_serv_list& prog) const;

private:
    void enumerate_now(const chl_group_list& group, const PageOptions& o);
    void enumerate_soon(const chl_group_list& group, const PageOptions& o);
    void enumerate_days(const all_list& store, const chl_group_list& group, const PageOptions& o);
    void enumerate_find(const chl_group_list& group, const PageOptions& o);
    bool add_row(std::vector<tvprog_local_list>& out, const std::shared_ptr<tvprog_serv_list>& prog,
                 const std::shared_ptr<chl_local_list>& member, DateTime s, DateTime f,
                 DateTime now) const;
    void set_times(tvprog_local_list& row, DateTime now) const;
    // The time of day in the display format ("hh:mm"), and the same for the start and finish
    // cells, which may carry the date too.
    std::string time_text(DateTime v) const;
    std::string time_cell(DateTime v) const;
    bool genre_shown(const type_serv_list& type) const;

    std::vector<tvprog_local_list> m_rows;
    ProgramPage m_page = ProgramPage::now;
    ViewSwitches m_view;
    FormatSet m_fs_view;
    bool m_plain_time = true;  // the display time format is "hh:mm": written directly
    std::vector<std::uint8_t> m_genre_by_id;  // genre id -> shown
    std::vector<std::uint8_t> m_chosen;
    // Rows of the later day windows while "По дням" is grouped by day (kept for its capacity).
    std::vector<std::vector<tvprog_local_list>> m_window_rows;
    // The channels' programmes by start for "Сейчас" and "Скоро", and the list positions one
    // query gives (kept for its capacity).
    StartOrder m_starts;
    std::vector<std::uint32_t> m_candidates;
};

// Lower-cases a CP1251 text (Latin and Cyrillic letters) the way the search compares.
std::string search_lower(std::string_view text);

}  // namespace zt::views
