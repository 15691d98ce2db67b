#pragma once

#include <string>

#include "storage/data_files.h"

namespace zt {

// The version 1 bodies of u.dat (favourites inside each channel record) and t.dat (marks
// inside each programme record). The program only reads these layouts; the writers exist for
// the generator, the tests and the fuzz seeds, which need old files to convert.
std::string build_u_body_v1(const DataContext& ctx);
std::string build_t_body_v1(const DataContext& ctx);

// Writes u.dat and t.dat of version 1 into the data folder (no v.dat or m.dat).
bool save_legacy_files(const DataContext& ctx);

}  // namespace zt
