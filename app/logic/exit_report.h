#pragma once

#include <cstddef>
#include <string>

namespace zt {

// What a save at the system's request to end could not write, kept in the data folder
// (kExitReportName) for the next start to show. A full disk would keep out the report of just
// that failure, so every start takes the room it may need beforehand (kExitReportSpaceName,
// kExitReportSpace bytes of a file of its own): the report goes there, in place, when no new
// file can be written, and that file then takes the report's name.
inline constexpr std::size_t kExitReportSpace = 4096;

// Makes sure the room for the report exists (a regular file of kExitReportSpace bytes; anything
// else under its name is replaced, a link without its target). `exe_dir` ends with '/'.
void reserve_exit_report(const std::string& exe_dir);

// Keeps `text` (at most kExitReportSpace - 1 bytes of it where only the room is left) as the
// report; false when it could not be kept at all.
bool keep_exit_report(const std::string& exe_dir, const std::string& text);

// The report the previous run left, removed from the folder; empty when there is none.
std::string take_exit_report(const std::string& exe_dir);

}  // namespace zt
