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

// The bytes of every block a schedule reply can carry, each already framed as the reply frames
// it (type, channel, day, length, the stored compressed data), one after the other: a channel's
// details block, then its days in rising order, each day's announcements block before its
// programmes block. A reply is a run of pieces of these bytes, sent from here without being
// copied into a reply buffer: from a sealed memory file with sendfile where the system has one,
// else from memory. The bytes never change once made; a new snapshot makes new ones.
class StoredBlocks final {
public:
    StoredBlocks() = default;
    explicit StoredBlocks(std::string bytes);
    ~StoredBlocks();
    StoredBlocks(const StoredBlocks&) = delete;
    StoredBlocks& operator=(const StoredBlocks&) = delete;

    std::string_view bytes() const { return {m_data, m_size}; }
    // The sealed memory file holding the bytes, or -1.
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
    const char* m_data = "";
    std::size_t m_size = 0;
    void* m_map = nullptr;
    std::string m_memory;  // the bytes when there is no memory file
};

// A piece of the stored blocks: where it starts and how long it is.
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
        std::unique_ptr<const StoredBlocks> blocks;
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
