#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace zt {

// Entries taken out of a list with the positions they had, ascending: what an undo needs to
// put them back exactly.
template <class T>
using taken_rows = std::vector<std::pair<std::size_t, T>>;

// The valid rows of `rows` (positions in a list of `size`), ascending and each once.
inline std::vector<std::size_t> valid_rows(std::vector<int> rows, std::size_t size) {
    std::vector<std::size_t> out;
    for (int r : rows)
        if (r >= 0 && std::size_t(r) < size) out.push_back(std::size_t(r));
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

// Removes the entries at `rows` (invalid and repeated rows ignored) and returns them.
template <class T>
taken_rows<T> take_rows(std::vector<T>& list, const std::vector<int>& rows) {
    taken_rows<T> taken;
    for (std::size_t r : valid_rows(rows, list.size())) taken.emplace_back(r, list[r]);
    for (auto it = taken.rbegin(); it != taken.rend(); ++it)
        list.erase(list.begin() + std::ptrdiff_t(it->first));
    return taken;
}

// Removes the entries `pred` holds for and returns them.
template <class T, class Pred>
taken_rows<T> take_if(std::vector<T>& list, Pred pred) {
    std::vector<int> rows;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (pred(list[i])) rows.push_back(int(i));
    return take_rows(list, rows);
}

// Puts entries taken by take_rows back at their positions.
template <class T>
void put_rows(std::vector<T>& list, const taken_rows<T>& taken) {
    for (const auto& [row, value] : taken)
        list.insert(list.begin() + std::ptrdiff_t(std::min(row, list.size())), value);
}

// Moves the entry at `from` to position `to` (the entries between shift by one). False when
// either is outside the list or both are the same.
template <class T>
bool move_row(std::vector<T>& list, std::size_t from, std::size_t to) {
    if (from >= list.size() || to >= list.size() || from == to) return false;
    if (from < to)
        std::rotate(list.begin() + std::ptrdiff_t(from), list.begin() + std::ptrdiff_t(from) + 1,
                    list.begin() + std::ptrdiff_t(to) + 1);
    else
        std::rotate(list.begin() + std::ptrdiff_t(to), list.begin() + std::ptrdiff_t(from),
                    list.begin() + std::ptrdiff_t(from) + 1);
    return true;
}

}  // namespace zt
