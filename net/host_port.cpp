#include "net/host_port.h"

#include <charconv>

namespace zt {

std::optional<HostPort> parse_host_port(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    HostPort out;
    std::string_view host = text;
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
        host = text.substr(0, colon);
        const std::string_view port = text.substr(colon + 1);
        if (port.empty() || port.size() > 5) return std::nullopt;
        int value = 0;
        const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (ec != std::errc() || end != port.data() + port.size()) return std::nullopt;
        if (value < 1 || value > 65535) return std::nullopt;
        out.port = value;
    }
    if (host.empty() || host.size() > 253) return std::nullopt;
    // Labels of letters, digits and inner hyphens, separated by single dots.
    std::size_t label_start = 0;
    for (std::size_t i = 0; i <= host.size(); ++i) {
        if (i == host.size() || host[i] == '.') {
            const std::string_view label = host.substr(label_start, i - label_start);
            if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') {
                return std::nullopt;
            }
            label_start = i + 1;
            continue;
        }
        const char c = host[i];
        const bool ok =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        if (!ok) return std::nullopt;
    }
    out.host = std::string(host);
    return out;
}

HostPort service_host(const Settings& settings) {
    if (auto parsed = parse_host_port(settings.service.host)) return *parsed;
    return HostPort{std::string(ServiceSettings::default_host), ServiceSettings::default_port};
}

}  // namespace zt
