#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/database.h"

namespace zt::server {

// The schedule sources of the server and what each one delivered the last time it was read:
// several XMLTV guides become one schedule (merge.h). Tables (plain SQL: the same statements
// serve any SQL database Qt reaches):
// - sources: one row a guide, with what the conditional request needs next time;
// - source_channels: the channels a source lists, each feeding one server channel (its own
//   one, or the one the operator mapped it to);
// - source_programmes: the programmes of each source channel in UTC seconds, as last read;
// - programme_sources: which source each programme of the merged days came from.

struct Source final {
    std::int64_t id = 0;
    std::string name;                 // UTF-8, as the operator typed it
    std::string location;             // a path or an http(s) URL
    std::int64_t priority = 0;        // the larger number wins where sources overlap
    std::string zone;                 // IANA name, empty when the source names none
    std::string package;              // UTF-8; empty: "XMLTV"
    std::string genre_map;            // a provider's category table, empty: the built-in one
    std::int64_t generation = 0;      // counts the successful reads
    std::string etag, last_modified;  // of the last good HTTP reply
    std::string validator;   // what the last good read depended on (unchanged: nothing to read)
    std::string last_good;   // "yyyy-MM-dd hh:mm" UTC of the last good read, empty before
    std::string last_error;  // of the last read, empty when it went well
};

// Every source, the highest priority first.
std::vector<Source> list_sources(Database& db);
std::optional<Source> find_source(Database& db, const std::string& name);
// Adds a source or replaces the settings of the one of that name (its data stays). Throws
// std::invalid_argument when another source has the same priority.
void put_source(Database& db, const Source& source);
// Removes the source with its channels and programmes; false when there is none.
bool remove_source(Database& db, const std::string& name);

// A channel of a source and the server channel it feeds.
struct SourceChannel final {
    std::int64_t id = 0;
    std::int64_t source_id = 0;
    QString xid;
    std::string name;              // CP1251, the xid when the source gave none
    QString icon;                  // a local picture file, may be empty
    std::int64_t pos = 0;          // order in the source's last read
    std::int32_t channel_id = 0;   // the server channel fed
    std::int32_t own_channel = 0;  // the channel it has when not mapped
    bool mapped = false;           // channel_id set by the operator
};

std::vector<SourceChannel> source_channels(Database& db, std::int64_t source_id);
// The row of (source, xid), created with a channel of its own when missing.
SourceChannel source_channel(Database& db, std::int64_t source_id, const QString& xid);
// Points the source channel at a server channel (or back at its own one when `channel` is 0).
void map_channel(Database& db, std::int64_t source_id, const QString& xid, std::int32_t channel);
// True when some channel row or source channel knows that server channel.
bool channel_known(Database& db, std::int32_t channel);

// Seconds since 1970 UTC <-> DateTime (which counts from 1899-12-30).
constexpr std::int64_t kUnixEpochSeconds = 25569LL * 86400;

}  // namespace zt::server
