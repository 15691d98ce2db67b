#pragma once

// HttpExchange: one HTTP/1.0 exchange with the service's server (or through an HTTP proxy),
// written on POSIX sockets. One exchange is one connection, one request and one response read
// until the server closes. The head of the request is written byte for byte as the service
// expects (LF line ends, fixed header order, "Content-length", the absolute request form and
// the proxy lines only through a proxy). The response head is read up to 5,120 bytes, the
// status must be "200 OK", "Content-Length: " gives the expected size, the body arrives in
// chunks with progress and cancel, and a body starting 0x78 0xDA is inflated.
//
// The exchange blocks the thread that calls it until it ends, and runs no events of that
// thread: the application calls it on a worker thread (app/download_worker.h) and the window
// thread only receives its progress. Every wait polls in short slices (`slice`), after which the
// view's tick runs and the cancel flag is read, so "Отмена" on the window thread ends it within
// a slice. Connect, send and receive give up after their time-outs, and the whole exchange after
// its deadline; the response and its inflation are capped (far lower for the small calls); the
// body ends at its Content-Length (bytes after it are not read), and a shorter one fails.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"
#include "net/exchange_view.h"
#include "storage/settings.h"

namespace zt::net {

// The calls: a small one (connection test, login check, news page, update script) carries a
// few lines; a large one (package list, schedule, program files) may carry hundreds of
// megabytes over a slow line.
enum class CallSize { small, large };

// Time-outs, deadlines and caps of one exchange; tests shorten them.
struct ExchangeLimits final {
    std::chrono::milliseconds connect_timeout{30000};
    std::chrono::milliseconds send_timeout{30000};     // without a byte leaving
    std::chrono::milliseconds receive_timeout{30000};  // without a byte arriving
    // The whole exchange, from connecting to the last byte and its inflation: a server that
    // trickles a byte now and then cannot hold the program for ever.
    std::chrono::milliseconds small_deadline{60000};
    std::chrono::milliseconds large_deadline{600000};
    std::chrono::milliseconds slice{20};                // longest wait between two cancel checks
    std::size_t max_received = std::size_t(256) << 20;  // head and body as received
    std::size_t max_inflated = std::size_t(512) << 20;  // the inflated body
    std::size_t max_small = std::size_t(1) << 20;       // a small call's body, either way
};

// The cancel flag of the connection window: set to 1 by "Отмена" on the window thread, read
// and cleared by the thread that runs the exchange. Every access goes through these two.
inline bool cancel_requested(std::uint8_t& flag) {
    return std::atomic_ref<std::uint8_t>(flag).load(std::memory_order_relaxed) == 1;
}
inline void clear_cancel(std::uint8_t& flag) {
    std::atomic_ref<std::uint8_t>(flag).store(0, std::memory_order_relaxed);
}

// The bytes moved since start-up (the statistics window shows them). Unsigned 32-bit counters
// as the statistics always were; they wrap after 4 GB.
struct TrafficCounters final {
    std::uint32_t bytes_sent = 0;
    std::uint32_t bytes_received = 0;
};

// Everything an exchange needs besides its request: where the service is, the proxy settings,
// where messages and progress go, the cancel flag of the connection window, the counters.
struct ExchangeContext final {
    ExchangeContext(UserInterface& ui_, ExchangeView& view_, std::uint8_t& net_cancel_,
                    TrafficCounters& traffic_)
        : ui(ui_), view(view_), net_cancel(net_cancel_), traffic(traffic_) {}

    std::string service;  // "host" or "host:port"
    ProxySettings proxy;
    ExchangeLimits limits;
    UserInterface& ui;
    ExchangeView& view;
    std::uint8_t& net_cancel;  // through cancel_requested and clear_cancel only
    TrafficCounters& traffic;  // written by the exchange's thread
    // The message of the last failed exchange (UTF-8; empty after a cancel or a success).
    std::string last_error;
};

// "host" for port 80, else "host:port": the service text of the settings.
std::string service_text(const Settings& settings);

// One exchange. `post` with a non-empty body sends a POST, anything else a GET. On success
// `response` holds the body (inflated when it was compressed). On failure the message has
// been shown (an error, except after a cancel) and `response` is empty. `size` chooses the
// deadline and the caps.
bool HttpExchange(ExchangeContext& ctx, std::string_view path, std::string_view query, bool post,
                  std::string_view body, std::string& response, CallSize size = CallSize::small,
                  int part = 1, int parts = 1);

// The connection test: "/test.htm" must answer with a line holding "TEST OK". The lines of
// the answer go to `lines` when given (the settings dialog's "Ответ сервера:").
bool ServerTest(ExchangeContext& ctx, std::vector<std::string>* lines = nullptr);

}  // namespace zt::net
