#pragma once

#include "print/logic/print_options.h"

namespace zt::print {

// The items of "Профиль:": 0 "" (no change), 1 "экономичный", 2 "обычный", 3 "красивый",
// 4 "для оповещений".
inline constexpr const char* kProfileNames[] = {"", "экономичный", "обычный", "красивый",
                                                "для оповещений"};
// Sets the options a profile presets; the empty item changes nothing.
void apply_profile(PrintOptions& options, int profile);

// The page range as the window corrects it when a field is left: an end before the start gives
// every page; otherwise a start of 0 or beyond the last page becomes 1 and an end of 0 or
// beyond it the last page.
struct PageRange final {
    int from = 1;
    int to = 1;
    bool operator==(const PageRange&) const = default;
};
PageRange normalize_page_range(int from, int to, int pages);

}  // namespace zt::print
