#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/datetime.h"

namespace zt {

// A set of date and time formats. Tokens: yyyy yy (year), MM M or mm m in the date format
// (month), dd d (day), dddd (long day name), hh h (hour), mm m in the time format (minute),
// ss s (second). Every other character is copied as it is. Texts are CP1251.
struct FormatSet final {
    std::string short_date;
    std::string long_time;
    std::array<std::string, 7> long_day_names;  // Sunday first

    // Date, and unless the time of day is exactly 00:00, a space and the time.
    std::string format(DateTime v) const;
    std::string formatDate(DateTime v) const;
    std::string formatTime(DateTime v) const;
    // A date, or a date, a space and a time; year, month and day in the order of the short
    // date format; two-digit years are taken as 2000..2049 or 1950..1999. Nothing when the
    // text is not such a value.
    std::optional<DateTime> parse(std::string_view text) const;
};

// The three sets of the store: reading server data, the data files, and display.
FormatSet make_fs_short();
FormatSet make_fs_file();
FormatSet make_fs_view(const std::array<std::string, 7>& day_names);

// "Воскресенье" ... "Суббота", Sunday first, CP1251.
const std::array<std::string, 7>& default_day_names();

}  // namespace zt
