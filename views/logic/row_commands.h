#pragma once

#include <cstdint>

#include "core/datetime.h"
#include "core/records.h"

namespace zt::views {

// The store side of the row commands of the programme tables. Rows are never re-filtered by
// these commands: the row stays listed until the next rebuild, and the table is repainted.

// "Любимая" (liked 1) and "Не любимая" (liked 0) on a programme of `channel` (the channel of
// the row's member):
// - without a favourite entry, a new entry with this title is made in the channel's list and
//   every programme of the channel with the same title (any letter case) refers to it;
// - with an entry of the same kind, the entry is removed and no programme refers to it any
//   more;
// - with an entry of the other kind, the entry changes kind (for every programme sharing it).
// False, with nothing changed, when a new entry is due but the channel's list has no id left
// (the caller shows kNoIdLeftMessage).
bool ToggleLove(chl_serv_list& channel, tvprog_serv_list& prog, std::uint8_t liked, DateTime now);

// "Маркер" and "Оповещение" (the latter also on a double click).
void toggle_mark(tvprog_serv_list& prog);
void toggle_alarm(tvprog_serv_list& prog);

// The check and enable states of the row popup menu for a programme.
struct RowMenuState final {
    bool details = false;   // "Подробнее" enabled: an announcement or a continuation
    bool disliked = false;  // "Не любимая" checked
    bool mark = false;      // "Маркер" checked
    bool liked = false;     // "Любимая" checked
    bool alarm = false;     // "Оповещение" checked
};
RowMenuState row_menu_state(const tvprog_serv_list& prog);

}  // namespace zt::views
