#pragma once

#include <QByteArray>
#include <QTimeZone>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "server/database.h"

namespace zt::server {

// A piece of a snapshot's blocks: where it starts and how long it is.
struct Span final {
    std::size_t offset = 0;
    std::size_t size = 0;
};

// What the schedule call sends, held in memory: every channel's stamp and details block and
// every day's stored blocks, exactly the bytes of the database. Every ingest bumps the
// database's generation in its own transaction; a request that finds another generation than
// the one held loads the snapshot anew, so several server processes on one database stay
// current too. The generation is looked at no more often than every kRecheck, so a committed
// ingest is served within that time.
class BlockCache final {
public:
    struct Day final {
        int number = 0;  // day_number of the day
        Span anons;      // size 0: no announcements
        Span progs;
    };
    struct Channel final {
        std::string stamp;
        Span details;
        std::vector<Day> days;  // rising by number
    };
    struct Snapshot final {
        QByteArray generation;
        QTimeZone zone;
        // Every block a schedule reply can carry, framed as the reply frames it (type,
        // channel, day, length, the stored compressed data), one after the other: a channel's
        // details block, then its days in rising order, each day's announcements block before
        // its programmes block. A reply is a run of pieces of these bytes, sent from here.
        std::string blocks;
        std::unordered_map<std::int32_t, Channel> channels;
    };

    static constexpr std::chrono::milliseconds kRecheck{250};

    // The current snapshot (loaded through `db` when the generation moved on).
    std::shared_ptr<const Snapshot> current(Database& db);

private:
    std::mutex m_mutex;
    std::shared_ptr<const Snapshot> m_snapshot;
    std::chrono::steady_clock::time_point m_checked;
};

// "yyyy-MM-dd" as a number that orders days as the calendar does (not a count of days: months
// are taken as 31 days long), or -1 when the text is not of that form.
int day_number(std::string_view text);

// Marks the database's content as changed (inside the writer's transaction).
void bump_generation(Database& db);

}  // namespace zt::server
