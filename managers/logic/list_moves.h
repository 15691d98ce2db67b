#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace zt::managers {

// Moves the entry at `from` so that it stands at `to` afterwards (the other entries keep their
// order); false, with nothing changed, when either index is outside the list or they are equal.
// The inverse is move_entry(list, to, from).
template <class T>
bool move_entry(std::vector<T>& list, int from, int to) {
    const int n = static_cast<int>(list.size());
    if (from < 0 || to < 0 || from >= n || to >= n || from == to) return false;
    const auto first = list.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    return true;
}

// Rows of a list in ascending order without repeats and without rows outside the list.
std::vector<int> valid_rows(std::vector<int> rows, std::size_t size);

}  // namespace zt::managers
