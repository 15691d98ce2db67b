#pragma once

#include <QString>

#include <cstddef>
#include <memory>
#include <string>

#include "server/faults.h"
#include "server/service.h"

namespace zt::server {

struct FrontOptions final {
    Fault fault = Fault::None;
    std::size_t body_cap = std::size_t(16) << 20;  // larger request bodies get 413
    int threads = 32;
    int timeout_seconds = 10;  // a silent client is dropped after this long
    bool access_log = true;    // a line per request on standard error
};

// The HTTP side of the server: pages, the test page and the service script, on a maintained
// HTTP library with a small request normaliser in front of it.
class HttpFront final {
public:
    HttpFront(QString db_path, Service service, FrontOptions options);
    ~HttpFront();

    // Binds to host:port (port 0: a free one); returns the port, or -1.
    int bind(const std::string& host, int port);
    // Serves until stop(); returns false when serving could not start.
    bool run();
    // Safe from any thread (a signal-waiting thread, a test).
    void stop();

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace zt::server
