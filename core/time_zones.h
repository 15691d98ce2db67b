#pragma once

#include <string>
#include <string_view>

#include "core/datetime.h"
#include "core/records.h"

namespace zt {

class all_list;

// Appends the 35 time-zone presets to the store's `time_zones` in picker order.
void build_time_zones(all_list& store);

// The three fields of a shift dialog for a preset.
struct shift_fields final {
    bool plus = true;     // sign choice: "плюс" (true) or "минус"
    std::string hours;    // two digits
    std::string minutes;  // two digits
};
shift_fields zone_to_fields(const time_gmt& zone);

// Builds "+hh:mm", "-hh:mm" or "00:00" from the dialog fields.
std::string make_shift_text(std::string_view hours_text, std::string_view minutes_text, bool plus);
// The magnitude of a shift text ("+25:30" is one day, one hour and thirty minutes).
DateTime parse_shift(std::string_view shift_text);
std::uint8_t shift_is_plus(std::string_view shift_text);
// A start or finish as shown for a channel of a group.
inline DateTime apply_shift(const chl_local_list& member, DateTime value) {
    return member.shift_plus == 1 ? value + member.shift : value - member.shift;
}

// Computes `week_cur`, `week_next` and the captions of the two week menu items from the
// store's clock.
void set_week(all_list& store);

// A typed time "hh:mm" (optional sign) with hours at most `max_hours` and minutes below 60.
bool time_text_valid(std::string_view text, int max_hours);

// The leading decimal integer of a text (optional sign, leading blanks skipped), 0 when none.
long leading_int(std::string_view text);

}  // namespace zt
