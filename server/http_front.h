#pragma once

#include <QString>

#include <cstddef>
#include <memory>
#include <string>

#include "server/faults.h"
#include "server/request_gate.h"
#include "server/service.h"

namespace zt::server {

struct FrontOptions final {
    Fault fault = Fault::None;
    GateLimits gate;  // sizes, deadlines and numbers of the requests being read
    int threads = 32;
    std::size_t max_waiting = 1024;  // read requests waiting for a worker; beyond, 503
    int timeout_seconds = 10;        // a client that takes no reply byte this long is dropped
    int reply_seconds = 600;         // a whole reply within this time
    bool access_log = true;          // a line per request on standard error
};

// The HTTP side of the server: pages, the test page and the service script, on a maintained
// HTTP library. Requests are read in front of it (RequestGate) and only whole ones reach its
// workers.
class HttpFront final {
public:
    HttpFront(QString db_path, Service service, FrontOptions options);
    ~HttpFront();

    // Binds to host:port (port 0: a free one); returns the port, or -1.
    int bind(const std::string& host, int port);
    // Serves until stop() and the requests in hand are answered; false when serving could not
    // start.
    bool run();
    // Safe from any thread (a signal-waiting thread, a test).
    void stop();

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace zt::server
