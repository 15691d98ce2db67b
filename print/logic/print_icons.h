#pragma once

#include "print/logic/print_paint.h"

namespace zt::print {

// The 64-pixel genre pictures of the printed page from the resources (":/print/64/", linked by
// the program and zorvan-cli): index 0 the header's picture, 1..8 the genre families. The
// monochrome set is the colour set laid on white paper in shades of grey.
PrintIcons genre_print_icons();

}  // namespace zt::print
