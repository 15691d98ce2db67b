#pragma once

#include <QByteArray>
#include <QTimeZone>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "server/database.h"

namespace zt::server {

// What the schedule call sends, held in memory: every channel's stamp and details block and
// every day's stored blocks, exactly the bytes of the database. Every ingest bumps the
// database's generation in its own transaction; a request that finds another generation than
// the one held loads the snapshot anew, so several server processes on one database stay
// current too. The generation is looked at no more often than every kRecheck, so a committed
// ingest is served within that time.
class BlockCache final {
public:
    struct Day final {
        int number = 0;    // day_number of the text
        std::string text;  // "yyyy-MM-dd"
        QByteArray progs;
        QByteArray anons;  // empty: no announcements
    };
    struct Channel final {
        std::string stamp;
        QByteArray details;
        std::vector<Day> days;  // rising by number
    };
    struct Snapshot final {
        QByteArray generation;
        QTimeZone zone;
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
