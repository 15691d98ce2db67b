#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/datetime.h"
#include "core/format_set.h"
#include "core/records.h"

namespace zt {
struct Settings;
}

namespace zt::print {

// The print options as plain values, read from the Settings model (sections PP, PC, PS) plus
// the choices of the session. Lengths are tenths of a millimetre.
struct PrintMarkOption final {
    bool on = true;
    QString symbols;
    QColor colour;
};

struct PrintOptions final {
    // page
    bool colour = false;  // "цветная"
    QString font_family = QStringLiteral("Liberation Sans");
    double font_points = 10;
    bool font_bold = false;
    bool font_italic = false;
    // The colour of every text (the font dialog's colour); lasts while the program runs.
    QColor font_colour = QColor(Qt::black);
    int margin_left = 100, margin_top = 100, margin_right = 100, margin_bottom = 100;
    bool page_numbers = true;
    bool merge_parts = false;
    bool colour_symbols = false;
    // In the order the marks are applied; a later one overrides the fill of an earlier one.
    PrintMarkOption mark{true, QStringLiteral("***"), QColor(255, 255, 224)};
    PrintMarkOption love_yes{true, QStringLiteral("+++"), QColor(224, 255, 224)};
    PrintMarkOption love_no{true, QStringLiteral("---"), QColor(255, 224, 224)};
    PrintMarkOption alarm{true, QStringLiteral("!!!"), QColor(224, 224, 255)};
    // columns
    int columns = 4;
    int gap = 50;
    bool column_line = false;
    bool new_day = false;  // effective only while enabled (the print command enables one)
    bool new_day_enabled = true;
    bool new_channel = false;
    bool new_channel_enabled = true;
    bool day_heading = true;
    QColor day_heading_colour{184, 184, 229};
    bool channel_heading = true;
    QColor channel_heading_colour{184, 229, 184};
    // line
    bool one_line = false;
    int max_length = 999;
    bool channel = false;
    bool start_time = true;
    int start_form = 0;  // 0 time only, 1 time and date, 2 date and time
    bool finish_time = false;
    int finish_form = 0;
    bool length = false;
    bool rating = false;
    bool type_icons = false;
    bool split = true;
    bool mark_time = false;
    QColor mark_time_colour{229, 229, 184};

    bool page_break_day() const { return new_day && new_day_enabled; }
    bool page_break_channel() const { return new_channel && new_channel_enabled; }
    // Mark symbols are printed in monochrome mode, or in colour mode when asked for.
    bool symbols() const { return !colour || colour_symbols; }
    bool wraps() const { return split || one_line; }
};

// The leading decimal number of a field ("12мм" is 12, "" is 0), as the fields are read.
int leading_number(const std::string& text);

// The options stored in the settings; the session choices keep their defaults.
PrintOptions print_options_from_settings(const Settings& settings);
// Writes the stored options back (everything but "В одну строку" and the enabled flags).
void store_print_options(const PrintOptions& options, Settings& settings);

// What the layout reads besides the options: the day page's grouping, the view switches and
// the store's names and formats.
struct PrintContext final {
    bool by_day = false;                   // "Группировать по дням"
    bool abbreviations = false;            // "Буквенные сокращения"
    std::array<std::string, 7> day_names;  // CP1251, Sunday first
    FormatSet fs_view;
    DateTime week_cur;
    QString host;  // the service's web site host, printed in the header
};

// One row of the day page as the layout reads it.
struct PrintRow final {
    std::shared_ptr<tvprog_serv_list> prog;
    std::shared_ptr<chl_local_list> member;
    DateTime start;  // with the member's time shift
    DateTime finish;
    std::string duration_text;  // CP1251
};

// A CP1251 text of the store as a QString.
QString from_cp(const std::string& cp1251);

}  // namespace zt::print
