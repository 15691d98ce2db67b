#pragma once

#include <array>
#include <cstddef>

namespace zt {

// One item of a drop-down list whose position is what the settings file keeps: the value the
// program works with and the caption the user picks (UTF-8).
template <class T>
struct Option final {
    T value;
    const char* caption;
};

// The items of such a list in their stored order. The list, its captions and the values the
// code uses come from this one table, so an index read from the file always means the item
// the user chose; an index outside the table (a damaged or newer file) reads as `fallback`.
template <class T, std::size_t N>
class OptionTable final {
public:
    constexpr OptionTable(const std::array<Option<T>, N>& items, std::size_t fallback)
        : m_items(items), m_fallback(fallback < N ? fallback : 0) {}

    static constexpr int size() { return int(N); }
    constexpr bool contains(int index) const { return index >= 0 && index < int(N); }
    // The index to show for a stored one: itself when inside the table, else the fallback.
    constexpr int checked(int index) const { return contains(index) ? index : int(m_fallback); }
    constexpr const T& value(int index) const { return m_items[std::size_t(checked(index))].value; }
    constexpr const char* caption(int index) const {
        return m_items[std::size_t(checked(index))].caption;
    }
    constexpr const std::array<Option<T>, N>& items() const { return m_items; }

private:
    std::array<Option<T>, N> m_items;
    std::size_t m_fallback;
};

}  // namespace zt
