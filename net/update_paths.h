#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zt::net {

// Paths of the update script are relative to the program folder and use backslashes as
// separators. They come from the server, so every one is checked before it is used: nothing
// the script names may lie outside the program folder.

// The full path of `relative` (backslashes taken as separators) inside `exe_dir` (which ends
// in '/'), or nothing when it would reach outside: an absolute path, a drive letter, a ".."
// component, a NUL byte, or a folder on the way that leads elsewhere (a link). The last
// component itself is not resolved: renaming, deleting or replacing it acts on the entry in
// the program folder, never on what a link there points to.
std::optional<std::string> path_in_program_folder(const std::string& exe_dir,
                                                  std::string_view relative);

// The full path of a folder given relative to the program folder (empty: the program folder
// itself), with links resolved, or nothing when it lies outside.
std::optional<std::string> folder_in_program_folder(const std::string& exe_dir,
                                                    std::string_view relative);

// True for a plain file name or mask: not empty, no separator, not "." or "..".
bool is_plain_name(std::string_view name);

// Writes `data` to `path` through a new temporary file in the same folder that is flushed to
// disk and then renamed over `path` (a link at `path` is replaced, not followed). `mode` is the
// new file's permission. On failure nothing is left behind and `path` is unchanged.
bool write_file_atomic(const std::string& path, std::string_view data, unsigned mode);

}  // namespace zt::net
