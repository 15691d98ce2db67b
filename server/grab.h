#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "server/database.h"
#include "server/merge.h"

namespace zt::server {

struct GrabOptions final {
    bool force = false;  // read every source even when its validators say it is unchanged
    std::int64_t max_bytes = std::int64_t(2) << 30;  // of a downloaded guide, inflated
    int deadline_seconds = 600;                      // of one download
    std::optional<std::int64_t> now_utc;             // seconds since 1970; default the system clock
    int keep_days = 35;  // source programmes older than this are dropped, older days kept
    std::function<bool()> cancelled;  // asked while reading; true ends the grab, nothing stored
};

struct GrabReport final {
    std::string text;  // for the operator, one line a source and a channel, then a summary
    int sources = 0;
    int read = 0;       // read and stored this time
    int unchanged = 0;  // not read: unchanged since the last good read
    int failed = 0;     // failed this time: their last good data stays
    bool merged = false;
    MergeResult merge;
};

// Reads every source (several at once), stores what each delivered in one transaction of its
// own (a source that fails keeps its last good data), then merges every channel the sources
// feed into the served days in one more transaction. Only one grab runs on a database at a time:
// a second one finds the lock taken and throws std::runtime_error.
GrabReport grab(const QString& db_path, const GrabOptions& options);

// "90s", "30m", "6h", "1d" or a number of seconds; throws std::invalid_argument otherwise.
std::chrono::seconds parse_duration(const std::string& text);

// Runs the grab in a thread of the serving process: once at the start, then every `every`
// after the previous one ended (so never two at once), each logged on standard error. The
// destructor cancels a grab under way (its reads stop, nothing of it is stored) and waits.
class PeriodicGrab final {
public:
    // `now_utc` fixes the grab's clock (tests), as serve's --at fixes the server's.
    PeriodicGrab(QString db_path, std::chrono::seconds every,
                 std::optional<std::int64_t> now_utc = std::nullopt);
    ~PeriodicGrab();
    PeriodicGrab(const PeriodicGrab&) = delete;
    PeriodicGrab& operator=(const PeriodicGrab&) = delete;

private:
    void run();
    QString m_db_path;
    std::chrono::seconds m_every;
    std::optional<std::int64_t> m_now;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace zt::server
