#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "storage/settings.h"

namespace zt {

// The service host from "host[:port]": a host name or IPv4 address (letters, digits, "-" and
// ".") and an optional port 1..65535 (80 when left out). nullopt for anything else.
struct HostPort final {
    std::string host;
    int port = 80;
    bool operator==(const HostPort&) const = default;
};
std::optional<HostPort> parse_host_port(std::string_view text);
// The configured host, or the default host when the stored text is not usable.
HostPort service_host(const Settings& settings);

}  // namespace zt
