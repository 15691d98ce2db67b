#pragma once

#include <QString>

#include <string>

#include "xmltv/xmltv_reader.h"

namespace zt::xmltv {

// Programmes of the file that the reader did not deliver: out of order, the last ones without
// stop, replaced by a later copy of the same start, without channel or with an unreadable start.
std::int64_t programmes_left_out(const ReadResult& r);

// The reader's counts for a terminal, one comma-separated line of those that are not zero
// ("transliterated characters 12, programmes skipped 1, ..."), then the named problems, one a
// line. Empty when there is nothing to say.
std::string counts_text(const ReadResult& r);

// The same in Russian for the program's message window, one count a line.
QString counts_text_ru(const ReadResult& r);

}  // namespace zt::xmltv
