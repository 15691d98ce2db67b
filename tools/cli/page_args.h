#pragma once

#include <string>
#include <vector>

#include "core/store.h"
#include "storage/settings.h"
#include "tools/cli/command.h"
#include "views/logic/page_options.h"

namespace zt::cli {

// A whole decimal number within [lo, hi]; std::invalid_argument naming `what` otherwise.
int whole_number(const std::string& text, const std::string& what, int lo, int hi);

// The options of a page's command: those every page command takes and the page's own.
std::vector<Option> page_command_options(views::ProgramPage page);

// The page options the window would use for the given command-line options: the group and
// its chosen channels (--group, --channels), the page's own controls and the week (--week,
// which overrides the copy of the settings given). Throws
// std::invalid_argument for a value out of range.
views::PageOptions page_options_from_args(views::ProgramPage page, const Options& opt, bool by_day,
                                          const all_list& store, Settings settings, DateTime now);

}  // namespace zt::cli
