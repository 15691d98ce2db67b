#pragma once

#include <cstdint>
#include <string>

namespace zt::reminders {

// The texts of one fired reminder (`AlarmEvent`), read by the reminder window, the balloon and
// the on-screen display. Texts are CP1251 like the store's.
struct AlarmEvent final {
    std::string LeadText;
    std::int32_t ChannelLogo = -1;  // index into the channel logo lists; -1 none
    std::string GenreName;          // empty without genre
    std::int32_t GenreIcon = -1;    // genre family + 3 in the genre button lists; -1 none
    std::string ChannelCaption;     // "[button] name" or the bare name
    std::string ChannelHint;        // own description, separator, the server's description
    std::string StartText;          // shifted start "hh:mm"
    std::string TitleText;          // title, or abbreviation + " \"" + title + "\""
    int HideCountdown = -1;         // seconds of the display time
    bool operator==(const AlarmEvent&) const = default;
};

}  // namespace zt::reminders
