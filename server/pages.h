#pragma once

#include <optional>
#include <string>

namespace zt::server {

struct Page final {
    std::string body;
    std::string content_type;
};

// The site's pages that the application opens in a browser or reads: the home page (news),
// the account page, the help page, the version history and the connection test page.
std::optional<Page> page_for(const std::string& path, const std::string& func);

}  // namespace zt::server
