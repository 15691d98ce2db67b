#include "views/logic/row_commands.h"

#include "core/love_entries.h"

namespace zt::views {

bool ToggleLove(chl_serv_list& channel, tvprog_serv_list& prog, std::uint8_t liked, DateTime now) {
    if (!prog.love) {
        const auto entry = new_love_entry(channel, prog.title, liked, now);
        if (!entry) return false;
        link_love_title(channel, entry, false);
        // The programme itself is always covered, even when it is not in the channel's list.
        prog.love = entry;
        return true;
    }
    if (prog.love->liked == liked) {
        drop_love_entry(channel, prog.love);
        prog.love = nullptr;
        return true;
    }
    prog.love->liked = liked;
    return true;
}

void toggle_mark(tvprog_serv_list& prog) {
    prog.mark = prog.mark == 1 ? 0 : 1;
}
void toggle_alarm(tvprog_serv_list& prog) {
    prog.alarm = prog.alarm == 1 ? 0 : 1;
}

RowMenuState row_menu_state(const tvprog_serv_list& prog) {
    RowMenuState s;
    s.details = prog.anons != nullptr || prog.continued == 1;
    s.liked = prog.love && prog.love->liked == 1;
    s.disliked = prog.love && prog.love->liked != 1;
    s.mark = prog.mark == 1;
    s.alarm = prog.alarm == 1;
    return s;
}

}  // namespace zt::views
