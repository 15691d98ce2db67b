#include "net/desktop_proxy.h"

#include <cstdlib>

namespace zt::net {

void ReadIeProxy(ProxySettings& proxy, std::optional<std::string_view> value) {
    if (!value) {
        proxy.server.clear();
        proxy.port.clear();
        return;
    }
    std::string_view v = *value;
    if (const auto scheme = v.find("://"); scheme != std::string_view::npos)
        v.remove_prefix(scheme + 3);
    if (const auto at = v.rfind('@'); at != std::string_view::npos) v.remove_prefix(at + 1);
    while (!v.empty() && v.back() == '/') v.remove_suffix(1);
    const auto colon = v.find(':');
    if (colon == std::string_view::npos) {
        proxy.server.clear();
        proxy.port = std::string(v);
    } else {
        proxy.server = std::string(v.substr(0, colon));
        proxy.port = std::string(v.substr(colon + 1));
    }
}

std::optional<std::string> desktop_proxy_value() {
    for (const char* name : {"http_proxy", "HTTP_PROXY"})
        if (const char* v = std::getenv(name); v && *v) return std::string(v);
    return std::nullopt;
}

}  // namespace zt::net
