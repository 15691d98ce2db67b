#include "print/logic/print_options.h"

#include <algorithm>

#include "core/cp1251.h"
#include "storage/settings.h"

namespace zt::print {
namespace {

QColor to_qcolor(Colour c) {
    return QColor(colour_red(c), colour_green(c), colour_blue(c));
}

Colour from_qcolor(const QColor& c) {
    return make_colour(c.red(), c.green(), c.blue());
}

PrintMarkOption to_mark(const PrintMark& m) {
    return {m.on, from_cp(m.symbols), to_qcolor(m.colour)};
}

PrintMark from_mark(const PrintMarkOption& m) {
    return {m.on, to_cp1251(m.symbols.toStdString()), from_qcolor(m.colour)};
}

}  // namespace

int leading_number(const std::string& text) {
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        v = std::min<long long>(v * 10 + (c - '0'), 1000000000);
    }
    return int(v);
}

QString from_cp(const std::string& cp1251) {
    return QString::fromStdString(to_utf8(cp1251));
}

PrintOptions print_options_from_settings(const Settings& s) {
    PrintOptions o;
    const auto& p = s.print_page;
    o.colour = p.colour_mode == 1;
    o.font_family = from_cp(p.font_name);
    o.font_points = p.font_size;
    o.font_bold = p.font_bold;
    o.font_italic = p.font_italic;
    o.margin_left = leading_number(p.margin_left);
    o.margin_top = leading_number(p.margin_top);
    o.margin_right = leading_number(p.margin_right);
    o.margin_bottom = leading_number(p.margin_bottom);
    o.page_numbers = p.page_numbers;
    o.merge_parts = p.merge_parts;
    o.colour_symbols = p.colour_symbols;
    o.mark = to_mark(p.mark);
    o.love_yes = to_mark(p.love_yes);
    o.love_no = to_mark(p.love_no);
    o.alarm = to_mark(p.alarm);
    const auto& c = s.print_columns;
    o.columns = leading_number(c.count);
    o.gap = leading_number(c.gap);
    o.column_line = c.line;
    o.new_day = c.new_day;
    o.new_channel = c.new_channel;
    o.day_heading = c.day_heading;
    o.day_heading_colour = to_qcolor(c.day_heading_colour);
    o.channel_heading = c.channel_heading;
    o.channel_heading_colour = to_qcolor(c.channel_heading_colour);
    const auto& l = s.print_line;
    o.channel = l.channel;
    o.start_time = l.start_time;
    o.start_form = l.start_form;
    o.mark_time = l.mark_time;
    o.mark_time_colour = to_qcolor(l.mark_time_colour);
    o.finish_time = l.finish_time;
    o.finish_form = l.finish_form;
    o.length = l.length;
    o.rating = l.rating;
    o.type_icons = l.type_icons;
    o.split = l.split;
    o.max_length = leading_number(l.max_length);
    return o;
}

void store_print_options(const PrintOptions& o, Settings& s) {
    auto& p = s.print_page;
    p.colour_mode = o.colour ? 1 : 0;
    p.font_name = to_cp1251(o.font_family.toStdString());
    p.font_size = int(o.font_points + 0.5);
    p.font_bold = o.font_bold;
    p.font_italic = o.font_italic;
    p.margin_left = std::to_string(o.margin_left);
    p.margin_top = std::to_string(o.margin_top);
    p.margin_right = std::to_string(o.margin_right);
    p.margin_bottom = std::to_string(o.margin_bottom);
    p.page_numbers = o.page_numbers;
    p.merge_parts = o.merge_parts;
    p.colour_symbols = o.colour_symbols;
    p.mark = from_mark(o.mark);
    p.love_yes = from_mark(o.love_yes);
    p.love_no = from_mark(o.love_no);
    p.alarm = from_mark(o.alarm);
    auto& c = s.print_columns;
    c.count = std::to_string(o.columns);
    c.gap = std::to_string(o.gap);
    c.line = o.column_line;
    c.new_day = o.new_day;
    c.new_channel = o.new_channel;
    c.day_heading = o.day_heading;
    c.day_heading_colour = from_qcolor(o.day_heading_colour);
    c.channel_heading = o.channel_heading;
    c.channel_heading_colour = from_qcolor(o.channel_heading_colour);
    auto& l = s.print_line;
    l.channel = o.channel;
    l.start_time = o.start_time;
    l.start_form = o.start_form;
    l.mark_time = o.mark_time;
    l.mark_time_colour = from_qcolor(o.mark_time_colour);
    l.finish_time = o.finish_time;
    l.finish_form = o.finish_form;
    l.length = o.length;
    l.rating = o.rating;
    l.type_icons = o.type_icons;
    l.split = o.split;
    l.max_length = std::to_string(o.max_length);
}

}  // namespace zt::print
