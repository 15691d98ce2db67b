#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/store.h"
#include "storage/data_files.h"
#include "storage/settings.h"

namespace zt::cli {

// A program folder read the way the application reads it at start-up, without writing
// anything: the settings from settings.ini (defaults when it is missing) and the four data
// files of dat/ through the real loaders. Legacy files are not converted (that would write).
struct ProgramFolder final {
    std::unique_ptr<all_list> store;
    Settings settings;
    user_account user;
    bool settings_found = false;
    // Messages the loaders raised (kind, UTF-8 text).
    std::vector<std::pair<MsgKind, std::string>> messages;
    // The group start-up would show (made "По умолчанию" when there are channels but no
    // group), or null without channels. The store's `cur_group` points at it.
    std::shared_ptr<chl_group_list> start_group;
};

// Throws std::runtime_error with a readable message when `dir` is not a folder.
ProgramFolder load_program_folder(const std::string& dir, std::shared_ptr<const Clock> clock);
// The same, printing the loaders' messages and a missing settings.ini on standard error, as the
// commands that show a folder's pages do.
ProgramFolder load_program_folder_reported(const std::string& dir,
                                           std::shared_ptr<const Clock> clock);

}  // namespace zt::cli
