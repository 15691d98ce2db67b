#include "print/logic/print_choices.h"

namespace zt::print {

void apply_profile(PrintOptions& o, int profile) {
    if (profile < 1 || profile > 4) return;
    o.new_day = o.new_channel = false;
    o.day_heading = o.channel_heading = true;
    o.channel = false;
    o.start_time = true;
    o.start_form = 0;
    o.length = o.rating = false;
    o.split = true;
    o.max_length = 999;
    o.merge_parts = profile == 1;
    o.columns = profile == 1 ? 1 : profile == 4 ? 3 : 4;
    o.one_line = profile == 1;
    o.mark_time = profile == 1 || profile == 3;
    o.finish_time = profile == 4;
    o.finish_form = 0;
    o.type_icons = profile == 3;
}

PageRange normalize_page_range(int from, int to, int pages) {
    const int n = pages < 1 ? 1 : pages;
    // An end before the start (as typed) gives every page, whatever else is wrong.
    if (to < from) return {1, n};
    if (from <= 0 || from > n) from = 1;
    if (to <= 0 || to > n) to = n;
    return {from, to};
}

}  // namespace zt::print
