#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "storage/settings_general.h"

namespace zt::net {

// ReadIeProxy on this desktop: the proxy of the `http_proxy` (or `HTTP_PROXY`) environment
// variable, "[scheme://][user:pass@]host:port[/]", goes to the proxy tab's server and port,
// split at the first colon after the scheme and credentials (a value without a colon leaves
// the server empty and puts everything in the port). Without the variable both are emptied.
void ReadIeProxy(ProxySettings& proxy, std::optional<std::string_view> value);

// The variable's value, or nothing when neither spelling is set or it is empty.
std::optional<std::string> desktop_proxy_value();

}  // namespace zt::net
