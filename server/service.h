#pragma once

#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "server/block_cache.h"
#include "server/database.h"

namespace zt::server {

// One reply of a call: HTTP status and body.
struct Reply final {
    Reply() = default;
    Reply(int status, std::string body, std::string content_type = "application/octet-stream")
        : status(status), body(std::move(body)), content_type(std::move(content_type)) {}

    int status = 200;
    std::string body;
    std::string content_type = "application/octet-stream";
    // The schedule reply's body instead: pieces of a snapshot's stored blocks in order, sent
    // from where they are. `stored` keeps them alive until the reply has gone.
    std::shared_ptr<const std::string> stored;
    std::vector<Span> pieces;

    std::size_t size() const;
    // The whole body in one string (the pieces copied).
    std::string flat() const;
};

using Params = std::multimap<std::string, std::string>;

struct ServiceOptions final {
    QString files_dir;            // files of the update script; empty: only those in the database
    std::optional<DateTime> now;  // a fixed moment in the server's zone (tests); none: the clock
};

// The calls of "/cgi-bin/soft.cgi", independent of the HTTP front: each takes the query's
// fields (and the body of a POST) and returns the reply. Texts of replies are CP1251.
class Service final {
public:
    explicit Service(ServiceOptions options)
        : m_options(std::move(options)), m_cache(std::make_shared<BlockCache>()) {}

    Reply call(Database& db, const Params& params, std::string_view body) const;

    Reply login_check(Database& db, const Params& params) const;
    Reply get_paket(Database& db) const;
    Reply get_tvprog(Database& db, const Params& params, std::string_view body) const;
    Reply update(Database& db) const;
    Reply get_file(Database& db, const std::string& name) const;

private:
    ServiceOptions m_options;
    std::shared_ptr<BlockCache> m_cache;  // shared by the worker threads
};

// The reply of every call with an error: "ERROR" and the message.
Reply error_reply(std::string_view message_utf8);

}  // namespace zt::server
