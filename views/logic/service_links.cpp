#include "views/logic/service_links.h"

#include <algorithm>

#include "storage/settings_general.h"

namespace zt {

std::string service_page_url(const HostPort& host, std::string_view path) {
    std::string url = "http://" + host.host;
    if (host.port != 80) url += ":" + std::to_string(host.port);
    if (path.empty() || path.front() != '/') url += '/';
    url += path;
    return url;
}

std::string support_mail(const HostPort& host) {
    // An IPv4 address is digits and dots; an IPv6 one holds colons.
    const std::string& h = host.host;
    const bool literal = h.find(':') != std::string::npos ||
                         (!h.empty() && std::all_of(h.begin(), h.end(), [](char c) {
                             return (c >= '0' && c <= '9') || c == '.';
                         }));
    return "support@" +
           (literal || h.empty() ? std::string(ServiceSettings::default_host) : host.host);
}

std::string support_mail_url(const HostPort& host) {
    return "mailto:" + support_mail(host);
}

}  // namespace zt
