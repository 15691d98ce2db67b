#include "views/logic/channel_choice.h"

#include "core/store.h"

namespace zt {

chl_group_list* ChannelChoice::current_group() const {
    const int i = m_store.cur_group;
    if (i < 0 || std::size_t(i) >= m_store.chl_groups.size()) return nullptr;
    return m_store.chl_groups[std::size_t(i)].get();
}

std::size_t ChannelChoice::member_count() const {
    const auto* g = current_group();
    return g ? g->members.size() : 0;
}

bool ChannelChoice::select_group(int index) {
    if (index < 0 || std::size_t(index) >= m_store.chl_groups.size()) {
        m_store.cur_group = -1;
        return true;
    }
    m_store.cur_group = index;
    auto& members = m_store.chl_groups[std::size_t(index)]->members;
    for (std::size_t i = 0; i < members.size(); ++i)
        members[i]->selected = (!m_single || i == 0) ? 1 : 0;
    return true;
}

bool ChannelChoice::set_choice_mode(bool single) {
    m_single = single;
    if (single) return choose_first_only();
    return false;
}

bool ChannelChoice::choose_first_only() {
    if (auto* g = current_group()) {
        for (std::size_t i = 0; i < g->members.size(); ++i)
            g->members[i]->selected = i == 0 ? 1 : 0;
    }
    return true;
}

bool ChannelChoice::choose_all(Kind kind) {
    if (auto* g = current_group()) {
        for (auto& m : g->members) {
            if (kind == All)
                m->selected = 1;
            else if (kind == None)
                m->selected = 0;
            else
                m->selected = m->selected == 1 ? 0 : 1;
        }
    }
    return true;
}

bool ChannelChoice::toggle_channel(int index) {
    auto* g = current_group();
    if (!g || index < 0 || std::size_t(index) >= g->members.size()) return false;
    if (m_single) {
        for (std::size_t i = 0; i < g->members.size(); ++i)
            g->members[i]->selected = int(i) == index ? 1 : 0;
    } else {
        auto& m = *g->members[std::size_t(index)];
        m.selected = m.selected == 1 ? 0 : 1;
    }
    return true;
}

void ChannelChoice::choose_first() {
    if (auto* g = current_group(); g && !g->members.empty()) g->members.front()->selected = 1;
}

bool ChannelChoice::bulk_command(Kind kind) {
    set_choice_mode(false);
    return choose_all(kind);
}

std::vector<bool> menu_column_starts(std::size_t member_count, int per_column, int fixed_items) {
    std::vector<bool> starts(member_count, false);
    int counter = fixed_items;
    for (std::size_t i = 0; i < member_count; ++i) {
        if (counter == per_column) {
            starts[i] = true;
            counter = 0;
        }
        ++counter;
    }
    return starts;
}

std::string channel_menu_caption(const chl_local_list& member) {
    return member.button.empty() ? member.name : member.name + " [" + member.button + "]";
}

std::string channel_button_hint(const chl_local_list& member) {
    return member.button.empty() ? member.name : "[" + member.button + "] " + member.name;
}

}  // namespace zt
