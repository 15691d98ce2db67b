#include "views/logic/row_commands.h"

#include <algorithm>

#include "core/cp1251.h"
#include "core/store.h"

namespace zt::views {

bool ToggleLove(chl_serv_list& channel, tvprog_serv_list& prog, std::uint8_t liked, DateTime now) {
    if (!prog.love) {
        const auto id = next_id(channel.love);
        if (!id) return false;
        auto entry = std::make_shared<love_list>();
        entry->id = *id;
        entry->title = prog.title;
        entry->liked = liked;
        entry->seen = now;
        channel.love.push_back(entry);
        // Taken by value: `prog.title` may belong to one of the programmes changed below.
        const std::string title = prog.title;
        for (const auto& p : channel.tvprog)
            if (cp1251_iequal(p->title, title)) p->love = entry;
        // The programme itself is always covered, even when it is not in the channel's list.
        prog.love = entry;
        return true;
    }
    if (prog.love->liked == liked) {
        const std::shared_ptr<love_list> entry = prog.love;
        for (const auto& p : channel.tvprog)
            if (p->love == entry) p->love = nullptr;
        prog.love = nullptr;
        auto& list = channel.love;
        list.erase(std::remove(list.begin(), list.end(), entry), list.end());
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
