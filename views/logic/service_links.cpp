#include "views/logic/service_links.h"

namespace zt {

std::string service_page_url(const HostPort& host, std::string_view path) {
    std::string url = "http://" + host.host;
    if (host.port != 80) url += ":" + std::to_string(host.port);
    if (path.empty() || path.front() != '/') url += '/';
    url += path;
    return url;
}

std::string support_mail_url(const HostPort& host) {
    return "mailto:support@" + host.host;
}

}  // namespace zt
