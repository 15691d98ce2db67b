#pragma once

#include <string>
#include <string_view>

#include "storage/settings_general.h"

namespace zt::net {

// Where one exchange connects and what its request head says.
struct Route final {
    std::string host;  // the service host as written in "Host:" and the absolute form
    std::string connect_host;
    int connect_port = 80;
    bool via_proxy = false;
    std::string extra_headers;  // "Proxy-Connection: ..." and "Proxy-Authorization: ..." lines
};

// The route to `service` ("name" or "name:port"): directly to its port (80 when none is given),
// or through the proxy when "Использовать прокси-сервер" is ticked and its server and port are
// both filled. The proxy's credentials (CP1251) are sent only when user and password are both
// filled. Nothing when the proxy port is not a number in 1..65535 or the service text has no
// usable port.
struct RouteResult final {
    Route route;
    std::string error;  // UTF-8 message when the route cannot be made
};
RouteResult make_route(std::string_view service, const ProxySettings& proxy);

// Base64 (RFC 4648, with "=" fill) of the bytes.
std::string base64(std::string_view bytes);

// The request head: request line (absolute form through the proxy), Host, Accept, Pragma,
// Cache-Control, the proxy lines, "Content-length" for a POST, an empty line; LF alone ends
// every line. `post` means a POST with a body of `body_size` bytes (the caller sends a GET when
// the body is empty).
std::string build_request_head(const Route& route, std::string_view path, std::string_view query,
                               bool post, std::size_t body_size);

// The text with every byte that cannot stand raw in a request line (controls, space, DEL) as
// %XX; everything else stays as typed.
std::string escape_request_text(std::string_view text);

}  // namespace zt::net
