#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "core/maintenance.h"
#include "core/progress.h"
#include "net/download_host.h"
#include "net/selection.h"
#include "storage/data_files.h"
#include "xmltv/xmltv_reader.h"

namespace zt::net {

// Importing a schedule from a ".zorvan_tv" file: opening it fills the same selection lists a
// package list does, the user ticks channels, and applying takes the ticked channels and the
// days the store does not hold yet.

// The selection dialog's caption while it offers an import file.
inline constexpr const char* kImportCaption = "Получить телепрограмму из файла";

// A path as messages show it: "..." and its last 35 characters when it is longer than that.
std::string shorten_path(const std::string& path);

// What an opened import file offers, kept until the download command ends.
struct ImportSession final {
    SelectionLists lists;       // with the package tree built
    std::string import_tvprog;  // the programme-day section, inflated
    std::size_t day_count = 0;
    // "Создавать группы": ticked when the store holds no channel group.
    bool create_groups = false;
    // An XMLTV file: what the reader changed or left out, and what lay outside the store's
    // three weeks (left out as the file was read).
    std::optional<xmltv::ReadResult> xmltv;
    std::int64_t days_outside = 0;        // channel days
    std::int64_t programmes_outside = 0;  // their programmes
};

// ImportFileOpen. Failures show their message (an error) and return nothing: no path, a file that
// is missing, unreadable or empty, a version other than 1, a section that is cut off or does
// not inflate, or programme days that are cut off (checked here, so that applying never meets
// damage halfway). The processing runs in the job window "Обработка данных..." of `host`.
std::optional<ImportSession> ImportFileOpen(const std::string& path, const all_list& store,
                                            UserInterface& ui, DownloadHost& host);
// The rest of ImportFileOpen for the bytes of an import file already read (or made from another
// format), inside the job window `host` has begun, which it ends.
std::optional<ImportSession> ImportSessionFromFile(std::string file, const all_list& store,
                                                   UserInterface& ui, DownloadHost& host);

// Ticks every entry of every package that refers to one of `ids`, or every entry.
void tick_channels(SelectionLists& lists, const std::set<std::int32_t>& ids);
void tick_all(SelectionLists& lists);

struct ImportResult final {
    std::size_t days_imported = 0;
    std::size_t days_skipped = 0;
    std::int64_t programmes_imported = 0;
    std::int64_t programmes_skipped = 0;  // of the days skipped
    bool saved = false;
};

// What an import took and left out, for the message after it: "Импортировано: N передач,
// пропущено: M." and, for an XMLTV file, the reader's counts and the days outside the three
// weeks, one a line. UTF-8.
std::string import_summary(const ImportSession& session, const ImportResult& result);

// ImportFileApply: ApplySelection with the session's ticks, then every day of a store channel
// that the channel does not hold yet (recorded as not full and without announcements: the
// dialog shows no signed-in user during an import), then the maintenance that follows an
// import and the four data files. Rebuilding the views is the caller's.
ImportResult ImportFileApply(const DataContext& ctx, ImportSession& session,
                             const MaintenanceOptions& options);

}  // namespace zt::net
