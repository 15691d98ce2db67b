#pragma once

namespace zt {

// Names in the program folder (the settings file's absence means the program is not installed).
inline constexpr const char* kExecutableName = "zorvan_tv";
inline constexpr const char* kSettingsName = "settings.ini";
// The executable the self-update replaced; deleted at the next start.
inline constexpr const char* kOldExecutableName = "old_zorvan_tv";
// The print page file in the data folder.
inline constexpr const char* kPrintPageFile = "dat/p.tmp";

// What a save at the system's request to end could not write, shown at the next start.
inline constexpr const char* kExitReportName = "dat/exit.log";
// Room for that report taken at start-up, so a full disk at the end cannot keep it out.
inline constexpr const char* kExitReportSpaceName = "dat/exit.space";

}  // namespace zt
