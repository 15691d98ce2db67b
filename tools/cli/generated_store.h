#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "command.h"
#include "core/clock.h"
#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "tools/cli/cli_common.h"
#include "tools/gen/schedule_generator.h"

namespace zt::cli {

// A store filled by the generator for the moment and profile of the options --at, --profile and
// --seed, as the commands that write generated data need it.
inline std::unique_ptr<all_list> generated_store(const Options& opt) {
    auto clock = std::make_shared<FixedClock>(parse_at(opt.get("at")));
    auto store = std::make_unique<all_list>(clock);
    build_types(*store);
    build_time_zones(*store);
    set_week(*store);
    gen::generate(*store, gen::profile_by_name(opt.get("profile", "small")), clock->now(),
                  std::uint32_t(std::stoul(opt.get("seed", "1"))));
    return store;
}

}  // namespace zt::cli
