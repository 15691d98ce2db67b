#pragma once

#include <string>

#include "core/datetime.h"

namespace zt {
class all_list;
}

namespace zt::reminders {

struct CalendarOptions final {
    int lead = 3;             // GenShow index: the alarm before each start
    bool favourites = false;  // also every upcoming showing of a favourite ("Любимая") title
};

struct CalendarExport final {
    std::string text;  // the iCalendar file (UTF-8, CRLF lines, folded)
    int events = 0;
};

// An iCalendar file (RFC 5545, written by libical) of every programme carrying a reminder that
// has not ended at `now`, on every channel that stands in a channel group: one VEVENT each with
// the start and finish shifted for the channel in its group and given in UTC (converted from
// this computer's time zone), the channel caption as LOCATION, the title as SUMMARY, the
// description, and a VALARM at the lead time. The UID is made of the channel, the programme
// and its broadcast start, so exporting again updates the same events; a channel in several
// groups gives one event (the first group's shift).
CalendarExport calendar_export(const all_list& store, DateTime now, const CalendarOptions& options);

}  // namespace zt::reminders
