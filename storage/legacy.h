#pragma once

#include "storage/data_files.h"

namespace zt {

// Converts version 1 data files once: when both u.dat and t.dat are of version 1, loads them,
// writes all four files in the current version (the old files become u.bak and t.bak) and
// tells the user to start the program again. Old files that do not read without damage are
// not converted (the loaders read them as they are). Returns whether it converted.
bool convert_legacy(const DataContext& ctx);

// Whether u.dat and t.dat both say they are of version 1, from their first four bytes alone:
// convert_legacy may then have work to do.
bool legacy_files_present(const DataContext& ctx);

}  // namespace zt
