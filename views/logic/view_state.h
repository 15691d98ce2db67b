#pragma once

#include "views/logic/channel_choice.h"
#include "views/logic/genre_filter.h"
#include "views/logic/program_list.h"

namespace zt {

class all_list;

// What the main window shows, without widgets: the channel choice of the channel panel, the
// genre filter of the genre panel and the rows of the active programme page. One instance
// lives for the whole run; the panels, the pages and the menus share it.
struct ViewState final {
    explicit ViewState(all_list& s) : store(s), channels(s), genres(s) {}
    all_list& store;
    ChannelChoice channels;
    GenreFilter genres;
    views::ProgramList list;
};

}  // namespace zt
