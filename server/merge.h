#pragma once

#include <QTimeZone>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "server/database.h"

namespace zt::server {

// One programme of a source, times in seconds since 1970 UTC.
struct SourceProgramme final {
    std::int64_t start = 0;
    std::int64_t finish = 0;   // after start
    std::string title, descr;  // CP1251
    std::int32_t family = -1, sub = -1, rating = -1;
};

// What one source has for one channel: sorted by start, no two overlapping.
struct Layer final {
    std::int64_t source_id = 0;
    std::int64_t priority = 0;
    std::vector<SourceProgramme> programmes;
};

struct MergedProgramme final {
    SourceProgramme programme;
    std::int64_t source_id = 0;
};

// A piece shorter than this is left out rather than shown as a stub.
constexpr std::int64_t kMinPieceSeconds = 60;

// One channel's schedule from its sources. Sources are taken from the highest priority down:
// every programme of the highest one stays as it is; a programme of a lower source is put in
// where no higher source has anything, cut at the programmes already there so that nothing
// overlaps. Of a programme that falls across several free stretches only the longest piece is
// used (the earliest of equal ones), and only when it keeps at least half of the programme's
// length: a film shifted by five minutes in a lower guide is not shown again as a five-minute
// stub after the higher guide's copy. Ties of priority go to the lower source id. The result is
// sorted by start and depends on nothing but the input.
std::vector<MergedProgramme> merge_layers(std::vector<Layer> layers);

struct MergeOptions final {
    QTimeZone zone;  // of the schedule
    // Days before this one ("yyyy-MM-dd" of the zone) are left as they are stored.
    std::string first_day;
    // Source programmes that ended before this (UTC seconds) are removed.
    std::int64_t prune_before = 0;
};

struct MergeResult final {
    std::int64_t channels = 0;
    std::int64_t days_changed = 0;
    std::int64_t channels_changed = 0;  // whose stamp moved
};

// Merges every server channel that some source feeds and writes its days, its sources per
// programme, its name and logo, its stamp and the sources' packages, inside the caller's
// transaction.
MergeResult merge_all(Database& db, const MergeOptions& options);

// Per server channel (from the first day on), how many programmes each source gave:
// channel -> source id -> count.
std::map<std::int32_t, std::map<std::int64_t, std::int64_t>> programmes_by_source(
    Database& db, const std::string& first_day);

}  // namespace zt::server
