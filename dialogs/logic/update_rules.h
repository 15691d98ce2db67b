#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "net/selection.h"

namespace zt {

// The rules of the download dialogs that need no widget.

// The password field's text when it loses the focus or the dialog closes, turned into the
// stored digest: empty text empties it, "********" (any case) keeps `digest`, anything else
// becomes the MD5 digest of the CP1251 text. The typed text itself is kept nowhere.
inline constexpr const char* kPasswordMask = "********";
std::string password_digest_after(const std::string& field_utf8, const std::string& digest);

// A file the source "Файл" accepts: ".zorvan_tv", or an XMLTV file ".xml" / ".xml.gz" (case
// ignored).
bool import_file_name_ok(const std::string& path);

// Which controls of the source dialog are enabled for source (0 "Сервер", 1 "Файл") and user
// type (0 "Бесплатный", 1 "Платный").
struct SourceControlStates final {
    bool file = false;       // EditDir and "..."
    bool user_type = false;  // ComboBoxUser
    bool login = false;      // EditLogin, EditPwd and "Сохранять пароль"
    bool operator==(const SourceControlStates&) const = default;
};
SourceControlStates source_control_states(int source, int user_type);

// Status panels 0 to 3 of the selection dialog: 25 %, 15 %, 28 % and 17 % of `width`. A panel
// whose text (`needed`, in pixels) is wider than its share first takes the bar's unused rest,
// then what the other panels have beyond their own texts, so no text is cut while the bar can
// hold them all. `chrome` is the part of the rest taken by the bar's margins and gaps.
std::array<int, 4> status_panel_widths(int width, const std::array<int, 4>& needed = {},
                                       int chrome = 0);

// The package whose `tree_pos` is the tree position `pos` (depth-first), or -1.
int paket_at_tree_pos(const net::SelectionLists& lists, int pos);

// The popup menu of the channel list on all entries of one package.
enum class TickAction { all, invert, none };
void apply_ticks(net::update_paket_list& paket, TickAction action);
// "Пометить мои каналы": ticks the entries whose channel the store holds; others stay.
template <class HasChannel>
void tick_held_channels(net::update_paket_list& paket, const HasChannel& held) {
    for (auto& e : paket.channels)
        if (held(e.chl_id)) e.ticked = 1;
}
// True when any entry of any package is ticked.
bool any_ticked(const net::SelectionLists& lists);

}  // namespace zt
