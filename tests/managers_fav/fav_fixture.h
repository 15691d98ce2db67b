#pragma once

#include <sstream>
#include <string>

#include "core/cp1251.h"
#include "core/store.h"
#include "storage/data_files.h"
#include "test_support.h"
#include "tools/json/store_json.h"

namespace zt::test {

// The whole store as the inspection JSON: two stores print the same exactly when every list,
// link id, reminder, abbreviation and genre group agrees.
inline std::string store_text(const all_list& store) {
    std::ostringstream out;
    write_store_json(out, store, user_account{}, {});
    return out.str();
}

// Adds a programme `title` (UTF-8) at `start` to the channel, one hour long.
inline tvprog_serv_list& add_prog(all_list& store, chl_serv_list& channel, int id,
                                  const std::string& start, const std::string& title) {
    const DateTime s = at(start);
    return *store.add_tvprog(channel, {.id = id,
                                       .start = s,
                                       .finish = s.addMinutes(60),
                                       .type_family = 2,
                                       .type_sub = 4,
                                       .title = to_cp1251(title)});
}

}  // namespace zt::test
