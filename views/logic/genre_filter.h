#pragma once

#include <array>
#include <cstdint>

namespace zt {

class all_list;

// The five system categories: programmes with these facts pass regardless of their genre.
enum class SystemCategory { NoType = 0, Disliked = 1, Mark = 2, Liked = 3, Alarm = 4 };

struct SystemCategories final {
    // "Без типа", "Не любимые", "Маркер", "Любимые", "Оповещение"; all on at start.
    std::array<bool, 5> on = {true, true, true, true, true};
    bool operator[](SystemCategory c) const { return on[std::size_t(c)]; }
    void set_all(bool value) { on.fill(value); }
};

// The genre filter: the genres' `filter_on` flags, the checked genre group and the system
// categories. The genre panel and the "Типы" menu call these commands and redraw from the
// state; each command changes what the programme lists show (the caller rebuilds them).
class GenreFilter final {
public:
    explicit GenreFilter(all_list& store) : m_store(store) {}

    const SystemCategories& system() const { return m_system; }
    SystemCategories& system() { return m_system; }
    // Index of the checked genre group in `type_groups`, -1 when none is checked.
    int checked_group() const { return m_group; }

    // Shows exactly the group's genres, plus what the system categories force.
    void choose_group(int index);
    // Global "Пометить все" (0), "Инверсия" (1), "Снять со всех" (2), family rows included.
    void all_command(int position);
    // A family popup's "Пометить все" (0), "Инверсия" (1), "Снять со всех" (2) for the family
    // of the genre with `genre_id`: that genre and every later genre of the family.
    void family_command(int position, std::int32_t genre_id);
    // A sub-genre item that has toggled itself to `checked`.
    void set_genre(std::int32_t genre_id, bool checked);
    // A system category toggled by its menu item.
    void toggle_system(SystemCategory c) {
        m_system.on[std::size_t(c)] = !m_system.on[std::size_t(c)];
    }

private:
    // Every genre command starts by unchecking the genre groups and the system categories.
    void reset();
    all_list& m_store;
    SystemCategories m_system;
    int m_group = -1;
};

// The overlay icon of a family's glyph: 13 when all its sub-genres pass, 14 when some do, 15
// when none do (or the family has none).
int family_overlay_icon(const all_list& store, std::int32_t family);

}  // namespace zt
