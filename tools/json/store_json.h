#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/progress.h"
#include "core/store.h"
#include "storage/data_files.h"

namespace zt {

// A message raised while loading: its kind and UTF-8 text.
struct raised_message final {
    MsgKind kind = MsgKind::Info;
    std::string text;
};

// Writes the store as JSON (UTF-8, stable key order, one channel per block) with the field
// names of the records: the inspection format of `zorvan-cli dump`, described in
// docs/data-files.md. Date-times are in the file form "yyyy-MM-dd[ hh:mm]".
void write_store_json(std::ostream& out, const all_list& store, const user_account& user,
                      const std::vector<raised_message>& messages);

}  // namespace zt
