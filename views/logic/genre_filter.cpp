#include "views/logic/genre_filter.h"

#include "core/genres.h"
#include "core/store.h"

namespace zt {
namespace {

std::uint8_t apply(int position, std::uint8_t value) {
    if (position == 0) return 1;
    if (position == 1) return value == 1 ? 0 : 1;
    return 0;
}

}  // namespace

void GenreFilter::reset() {
    m_group = -1;
    m_system.set_all(false);
}

void GenreFilter::choose_group(int index) {
    reset();
    if (index < 0 || std::size_t(index) >= m_store.type_groups.size()) return;
    m_group = index;
    for (auto& t : m_store.types) t->filter_on = 0;
    for (const auto& member : m_store.type_groups[std::size_t(index)]->members)
        if (member.row >= 0 && std::size_t(member.row) < m_store.types.size())
            m_store.types[std::size_t(member.row)]->filter_on = 1;
    m_system.set_all(true);
}

void GenreFilter::all_command(int position) {
    reset();
    for (auto& t : m_store.types) t->filter_on = apply(position, t->filter_on);
    if (position == 0 || position == 1) m_system.set_all(true);
}

void GenreFilter::family_command(int position, std::int32_t genre_id) {
    reset();
    int family = -1;
    for (auto& t : m_store.types) {
        if (family == -1 && t->id == genre_id) family = t->family;
        if (family != -1 && t->family == family) t->filter_on = apply(position, t->filter_on);
    }
}

void GenreFilter::set_genre(std::int32_t genre_id, bool checked) {
    reset();
    for (auto& t : m_store.types)
        if (t->id == genre_id) t->filter_on = checked ? 1 : 0;
}

int family_overlay_icon(const all_list& store, std::int32_t family) {
    const int state = family_filter_state(store, family);
    int subs = 0;
    for (const auto& t : store.types)
        if (t->family == family && t->sub != -1) ++subs;
    if (subs == 0 || state == -1) return 15;
    return state == 1 ? 13 : 14;
}

}  // namespace zt
