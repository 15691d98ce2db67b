#pragma once

#include <string>
#include <vector>

#include "core/datetime.h"
#include "reminders/logic/alarm_event.h"

namespace zt {
class all_list;
struct Settings;
struct chl_local_list;
struct tvprog_serv_list;
}  // namespace zt

namespace zt::reminders {

class StartIndex;

// Which delivery channels one scan uses (the switches of "Оповещение" that had a hit).
struct AlarmMarks final {
    bool window = false;
    bool sound = false;
    bool tray = false;
    bool osd = false;
    bool any() const { return window || sound || tray || osd; }
    bool operator==(const AlarmMarks&) const = default;
};

// What one scan found: every hit in order (groups, their members, the programme lists), the
// balloon text collected and the channels to deliver through.
struct AlarmScan final {
    DateTime target;  // the start minute looked for
    std::vector<AlarmEvent> hits;
    std::string TrayText;  // CP1251; empty unless "В трее" is on
    AlarmMarks marks;
    // True when the scan ran ("Включено" on).
    bool ran = false;
};

// The texts of one hit for the programme starting at `start` (already shifted) on `member`.
// Reads the lead and display time and the letter abbreviations switch from `settings`.
AlarmEvent AlarmEventFill(const Settings& settings, DateTime start, const tvprog_serv_list& prog,
                          const chl_local_list& member);

// The sample of the settings window's "Проверить": the lead text of the chosen lead time, no
// logo, the first genre of the catalogue, "[001] Название канала", "Описание канала",
// "12:00", "Название передачи".
AlarmEvent sample_event(const all_list& store, const Settings& settings);

// Appends "\r\n" + caption + "\r\n" + start + " " + title + "\r\n" to the balloon text.
void AlarmTrayAppend(std::string& tray_text, const AlarmEvent& event);

// The minute scan: every channel of every channel group, the programmes whose shifted start is
// the current minute plus the lead time, flagged for a reminder (or all with "О всех
// передачах"); at most one hit per channel in a group. Reads the settings as they are now and
// changes nothing.
AlarmScan AlarmCheck(const all_list& store, const Settings& settings, DateTime now);
// The same scan through an index kept between scans (the program's minute tick): the same
// hits in the same order, without walking every programme.
AlarmScan AlarmCheck(const all_list& store, const Settings& settings, DateTime now,
                     StartIndex& index);

}  // namespace zt::reminders
