#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/cp1251.h"
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

std::shared_ptr<tvprog_serv_list> add_programme(all_list& store, const chl_local_list& member,
                                                const std::string& start, const std::string& finish,
                                                const std::string& title, std::int32_t family,
                                                std::int32_t sub) {
    auto& ch = *member.chl;
    return store.add_tvprog(ch, {.id = std::int32_t(ch.tvprog.size()) + 1,
                                 .start = at(start),
                                 .finish = at(finish),
                                 .type_family = family,
                                 .type_sub = sub,
                                 .title = to_cp1251(title)});
}

}  // namespace zt::test
