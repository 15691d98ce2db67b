#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "server/request_reader.h"

namespace zt::server {

struct GateLimits final {
    RequestLimits request;
    int head_ms = 5000;              // the whole head within this time of connecting
    int body_ms = 60000;             // the whole body within this time after the head
    int idle_ms = 10000;             // a connection that sends nothing for this long is closed
    std::size_t max_reading = 1024;  // connections reading a request; beyond, the quietest goes
    std::size_t budget = std::size_t(128) << 20;  // request bytes held by all connections together
};

// A complete request: the connection (non-blocking) and the request for the HTTP library.
struct ReadyRequest final {
    int fd = -1;
    ReadRequest request;
    std::string address;        // the client's address, for the access log
    std::size_t held = 0;       // what counts against the budget until release(held)
    long long accepted_ms = 0;  // when the connection was accepted (steady clock)
};

// Accepts connections on a listening socket and reads every connection's request on this one
// thread, so that clients slow to send hold no worker: a worker gets a connection only with its
// whole request read. Each request is bounded in size (RequestReader), in time (a whole-head
// and a whole-body deadline, an idle limit) and in number (at most max_reading connections
// being read; a new one closes the one that has been silent longest), and all of them together
// in memory (the budget, held until the worker has served the request).
class RequestGate final {
public:
    // Hands a request to a worker; false when no worker can take it (the client gets 503).
    using Dispatch = std::function<bool(ReadyRequest&)>;

    RequestGate(int listen_fd, GateLimits limits, Dispatch dispatch, bool log);
    ~RequestGate();
    RequestGate(const RequestGate&) = delete;
    RequestGate& operator=(const RequestGate&) = delete;

    // Serves until stop(); false when it cannot start.
    bool run();
    // From any thread.
    void stop();
    // A dispatched request has been served: its bytes leave the budget.
    void release(std::size_t held) { m_dispatched -= held; }

private:
    struct Conn;
    void accept_new(std::vector<Conn>& conns);
    bool read_from(Conn& c);
    void refuse(Conn& c, int status);
    // Takes the connection's bytes out of m_reading_bytes.
    void forget(Conn& c);

    int m_listen;
    int m_wake;
    GateLimits m_limits;
    Dispatch m_dispatch;
    bool m_log;
    std::atomic<bool> m_stopping{false};
    std::atomic<std::size_t> m_dispatched{0};
    std::size_t m_reading_bytes = 0;
    long long m_pause_accept_until = 0;
};

}  // namespace zt::server
