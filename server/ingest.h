#pragma once

#include <QString>
#include <QTimeZone>

#include <cstdint>
#include <string>

#include "core/datetime.h"
#include "server/database.h"
#include "tools/gen/schedule_generator.h"

namespace zt::server {

struct IngestResult final {
    bool ok = true;
    std::string message;  // UTF-8, for the terminal
    std::int64_t channels = 0;
    std::int64_t days_changed = 0;
    std::int64_t programmes = 0;  // XMLTV: programmes read into the days
};

// Fills the database with the generator's schedule for a profile around `anchor` (the
// generator's channels with logos, a package of all channels with the generator's groups as
// sub-packages, announcements with GIF pictures, three weeks of programmes). One transaction.
IngestResult ingest_generated(Database& db, const gen::Profile& profile, DateTime anchor,
                              std::uint32_t seed);

// Reads an XMLTV file into channels, one package and programme days, times in `zone`. The
// days the file covers replace the stored ones; stamps change for channels whose data changed.
// On bad input nothing is written and the message names the line; otherwise the message lists
// what the reader changed or left out (empty when nothing). `genre_map` (empty: the built-in
// table) is a provider's own category table.
IngestResult ingest_xmltv(Database& db, const QString& path, const std::string& package,
                          const QTimeZone& zone, const QString& genre_map = {});

}  // namespace zt::server
