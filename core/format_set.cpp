#include "core/format_set.h"

#include <cctype>
#include <vector>

#include "core/cp1251.h"

namespace zt {
namespace {

void put_number(std::string& out, int value, std::size_t width) {
    std::string digits = std::to_string(value);
    while (digits.size() < width) digits.insert(digits.begin(), '0');
    out += digits;
}

std::size_t run_length(std::string_view f, std::size_t i) {
    std::size_t n = 1;
    while (i + n < f.size() && std::tolower(static_cast<unsigned char>(f[i + n])) ==
                                   std::tolower(static_cast<unsigned char>(f[i])))
        ++n;
    return n;
}

std::string apply(std::string_view f, DateTime v, bool time_part,
                  const std::array<std::string, 7>& names) {
    int y = 0, mo = 0, d = 0;
    v.toParts(y, mo, d);
    std::string out;
    for (std::size_t i = 0; i < f.size();) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(f[i])));
        const std::size_t n = run_length(f, i);
        switch (c) {
            case 'y':
                if (n >= 4)
                    put_number(out, y, 4);
                else
                    put_number(out, y % 100, 2);
                break;
            case 'm':
                put_number(out, time_part ? v.minute() : mo, n >= 2 ? 2 : 1);
                break;
            case 'd':
                if (n >= 4)
                    out += names[std::size_t(v.dayOfWeek() - 1)];
                else
                    put_number(out, d, n >= 2 ? 2 : 1);
                break;
            case 'h':
                put_number(out, v.hour(), n >= 2 ? 2 : 1);
                break;
            case 's':
                put_number(out, v.second(), n >= 2 ? 2 : 1);
                break;
            default:
                out.append(f.substr(i, n));
        }
        i += n;
    }
    return out;
}

// Splits a text into its runs of decimal digits; false when anything but digits, separators
// and blanks occurs.
bool number_runs(std::string_view t, std::vector<int>& out) {
    std::size_t i = 0;
    while (i < t.size()) {
        if (std::isdigit(static_cast<unsigned char>(t[i]))) {
            long v = 0;
            std::size_t k = i;
            while (k < t.size() && std::isdigit(static_cast<unsigned char>(t[k]))) {
                if (k - i >= 6) return false;
                v = v * 10 + (t[k] - '0');
                ++k;
            }
            out.push_back(int(v));
            i = k;
        } else if (std::isalpha(static_cast<unsigned char>(t[i])) ||
                   static_cast<unsigned char>(t[i]) >= 0x80) {
            return false;
        } else {
            ++i;
        }
    }
    return true;
}

}  // namespace

std::string FormatSet::format(DateTime v) const {
    if (v.timeOfDay() / 60 == 0) return formatDate(v);
    return formatDate(v) + ' ' + formatTime(v);
}

std::string FormatSet::formatDate(DateTime v) const {
    return apply(short_date, v, false, long_day_names);
}

std::string FormatSet::formatTime(DateTime v) const {
    return apply(long_time, v, true, long_day_names);
}

std::optional<DateTime> FormatSet::parse(std::string_view text) const {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    const std::size_t space = text.find(' ');
    const std::string_view date_part = text.substr(0, space);
    const std::string_view time_part =
        space == std::string_view::npos ? std::string_view() : text.substr(space + 1);

    std::vector<int> dn, tn;
    if (!number_runs(date_part, dn) || dn.size() != 3) return std::nullopt;
    if (!number_runs(time_part, tn) || (tn.size() != 0 && tn.size() != 2 && tn.size() != 3))
        return std::nullopt;

    // The order of year, month and day in the short date format.
    int year = 0, month = 0, day = 0;
    int slot = 0;
    bool year_digits_two = false;
    for (std::size_t i = 0; i < short_date.size() && slot < 3;) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(short_date[i])));
        const std::size_t n = run_length(short_date, i);
        if (c == 'y' || c == 'm' || (c == 'd' && n < 4)) {
            const int value = dn[std::size_t(slot++)];
            if (c == 'y') {
                year = value;
                year_digits_two = value < 100;
            } else if (c == 'm') {
                month = value;
            } else {
                day = value;
            }
        }
        i += n;
    }
    if (slot != 3) return std::nullopt;
    if (year_digits_two) year += year < 50 ? 2000 : 1900;
    const int h = tn.empty() ? 0 : tn[0];
    const int mi = tn.empty() ? 0 : tn[1];
    const int s = tn.size() == 3 ? tn[2] : 0;
    return DateTime::fromParts(year, month, day, h, mi, s);
}

const std::array<std::string, 7>& default_day_names() {
    static const std::array<std::string, 7> names = {
        "Воскресенье"_cp, "Понедельник"_cp, "Вторник"_cp, "Среда"_cp,
        "Четверг"_cp,     "Пятница"_cp,     "Суббота"_cp};
    return names;
}

FormatSet make_fs_short() {
    return FormatSet{"yy-m-d", "h:m", default_day_names()};
}
FormatSet make_fs_file() {
    return FormatSet{"yyyy-MM-dd", "hh:mm", default_day_names()};
}
FormatSet make_fs_view(const std::array<std::string, 7>& day_names) {
    return FormatSet{"dd.MM.yy dddd", "hh:mm", day_names};
}

}  // namespace zt
