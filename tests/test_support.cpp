#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/genres.h"
#include "core/time_zones.h"

namespace zt::test {

std::unique_ptr<all_list> make_store(DateTime now, std::shared_ptr<FixedClock>* clock) {
    auto c = std::make_shared<FixedClock>(now);
    if (clock) *clock = c;
    auto store = std::make_unique<all_list>(c);
    build_types(*store);
    build_time_zones(*store);
    set_week(*store);
    return store;
}

DateTime at(const std::string& text) {
    const FormatSet f{"yyyy-MM-dd", "hh:mm:ss", {}};
    auto v = f.parse(text);
    if (!v) {
        ADD_FAILURE() << "bad date-time in test: " << text;
        std::abort();
    }
    return *v;
}

}  // namespace zt::test
