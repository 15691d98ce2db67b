#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace zt {

// Locale-aware (Russian), case-sensitive order of two CP1251 texts: negative, 0 or positive.
int collate_compare(const std::string& a, const std::string& b);

// Stable sort of records by their `name` in that order.
template <class List>
void sort_by_name(List& list) {
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return collate_compare(a->name, b->name) < 0;
    });
}

}  // namespace zt
