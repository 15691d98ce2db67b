#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/records.h"

namespace zt {

class all_list;

// Which channel group is shown and which of its channels feed the programme lists. The
// channel panel, the "Каналы" menu and the programme pages call these operations and then
// redraw from the members' `selected` flags. Every operation that changes what the lists
// show returns true: the caller then rebuilds the programme list.
class ChannelChoice final {
public:
    explicit ChannelChoice(all_list& store) : m_store(store) {}

    // The group shown (`cur_group`), or null when there is none.
    chl_group_list* current_group() const;
    std::size_t member_count() const;

    // Makes group `index` current; chooses only the first channel in single-choice mode and
    // every channel in multiple-choice mode.
    bool select_group(int index);
    bool single() const { return m_single; }
    // Single choice chooses the first channel only (and rebuilds); multiple choice keeps the
    // flags and rebuilds nothing.
    bool set_choice_mode(bool single);
    bool choose_first_only();
    enum Kind { All = 1, Invert = 2, None = 3 };
    bool choose_all(Kind kind);
    // Single choice: member i becomes the only chosen one; multiple choice: it is inverted.
    bool toggle_channel(int index);
    // The first member is chosen, the others kept; no rebuild.
    void choose_first();

    // The commands of "Пометить все", "Инверсия", "Снять со всех": multiple choice first.
    bool bulk_command(Kind kind);
    // Keypad "/": single choice when it is not on, else multiple.
    bool flip_choice_mode() { return set_choice_mode(!m_single); }

private:
    all_list& m_store;
    bool m_single = false;
};

// The members of a channel menu that start a new menu column when a column holds `per_column`
// items and the first column already holds `fixed_items` fixed items.
std::vector<bool> menu_column_starts(std::size_t member_count, int per_column, int fixed_items = 4);

// The caption of a member in the "Каналы" menu: name, or name + " [" + button + "]".
std::string channel_menu_caption(const chl_local_list& member);
// The hint of a member's compact button: name, or "[" + button + "] " + name.
std::string channel_button_hint(const chl_local_list& member);

}  // namespace zt
