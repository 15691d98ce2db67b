#pragma once

#include <QTimeZone>

#include <optional>
#include <string>

#include "core/progress.h"
#include "net/download_host.h"
#include "net/import_file.h"

namespace zt::net {

// Importing an XMLTV file (".xml" or ".xml.gz") as if it were an import file: its channels are
// offered as one package named after the file, its programmes become programme days in the
// computer's own time zone, and applying goes through ImportFileApply (only ticked channels,
// only days the store does not hold yet).
//
// Channel ids: a store channel of the same name keeps its id, so importing the same file (or a
// file of the service's own schedule) again finds the channels it made; any other channel gets
// an id derived from its XMLTV id, the same on every import.

// True for names ending in ".xml" or ".xml.gz" (case ignored).
bool is_xmltv_file(const std::string& path);

// The package's name: the file name without its folder and its ".xml" / ".xml.gz".
std::string xmltv_package_name(const std::string& path);

// Opens the file. A file that cannot be read or is broken shows "Ошибка данных." with the
// reader's explanation (kind 2) and gives nothing; the store is not touched. Progress goes to
// the job window "Обработка данных..." of `host`. Only the days the store keeps (the previous,
// current and next week) are taken; the others are counted in the session as the file streams
// and let go. `genre_map` (empty: the built-in table) is a provider's own category table.
std::optional<ImportSession> XmltvFileOpen(const std::string& path, const all_list& store,
                                           UserInterface& ui, DownloadHost& host,
                                           const QTimeZone& zone = QTimeZone::systemTimeZone(),
                                           const QString& genre_map = {});

// An import file of either kind: XMLTV by its name, otherwise a ".zorvan_tv" file.
std::optional<ImportSession> ScheduleFileOpen(const std::string& path, const all_list& store,
                                              UserInterface& ui, DownloadHost& host,
                                              const QString& genre_map = {});

// The id a channel of XMLTV id `xid` gets when no store channel has its name: in the upper
// half of the id range, where the service's ids do not reach.
std::int32_t xmltv_channel_id(const QString& xid);

}  // namespace zt::net
