#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

namespace zt::server {

// Fetching a guide over HTTP(S) into a local file, for the grab.
struct FetchRequest final {
    std::string url;  // http:// or https://
    // Of the last good copy: sent as If-None-Match / If-Modified-Since when not empty.
    std::string etag, last_modified;
    std::int64_t max_bytes = std::int64_t(2) << 30;  // of the body as stored (inflated)
    int deadline_seconds = 600;                      // for the whole exchange
    QString out_path;                                // where the body goes
    std::function<bool()> cancelled;                 // true ends the exchange
};

struct FetchResult final {
    enum class Kind { fetched, not_modified, failed };
    Kind kind = Kind::failed;
    std::string error;  // for failed: what went wrong, for the operator
    int status = 0;
    std::string etag, last_modified;  // of the reply
    std::int64_t bytes = 0;
};

// One GET with the conditional headers and "Accept-Encoding: gzip" (a gzip-coded body is
// inflated as it arrives, against the same cap); up to five redirects are followed. A reply other
// than 200 or 304, a body past the cap, or an exchange still running at the deadline fails.
FetchResult fetch_url(const FetchRequest& request);

bool is_url(const std::string& location);

}  // namespace zt::server
