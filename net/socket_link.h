#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace zt::net {

// One TCP connection made of non-blocking POSIX socket calls. Each operation blocks the calling
// thread until it is done, its time-out passes or `idle` says stop: every wait is a poll of at
// most `slice` after which `idle` runs (the cancel check), so a cancel takes effect within a
// slice. `idle` runs on the calling thread and never runs any event loop.
class SocketLink final {
public:
    enum class Status { ok, closed, timeout, failed, cancelled };

    // `idle` returns false to cancel the operation under way.
    SocketLink(std::chrono::milliseconds slice, std::function<bool()> idle);
    ~SocketLink();
    SocketLink(const SocketLink&) = delete;
    SocketLink& operator=(const SocketLink&) = delete;

    // Looks `host` up (a dotted IPv4 address is used as it is, a name gets its first IPv4
    // address) and connects to it. On failure `error()` holds the message (UTF-8).
    Status connect(const std::string& host, int port, std::chrono::milliseconds timeout);
    // Sends all of `data`; time-out when no byte leaves for `timeout`.
    Status send_all(std::string_view data, std::chrono::milliseconds timeout);
    // Receives up to `max` bytes into `out` (appended); `closed` when the peer closed the
    // connection, time-out when no byte arrives for `timeout`.
    Status receive(std::string& out, std::size_t max, std::chrono::milliseconds timeout);

    const std::string& error() const { return m_error; }

private:
    Status wait(short events, std::chrono::milliseconds timeout);

    int m_fd = -1;
    std::chrono::milliseconds m_slice;
    std::function<bool()> m_idle;
    std::string m_error;
};

}  // namespace zt::net
