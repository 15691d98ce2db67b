#pragma once

#include <string>
#include <string_view>

#include "net/host_port.h"

namespace zt {

// Addresses of the service's web pages that the menus open in the desktop's browser, built
// from the configured server host ("host[:port]" of the settings).
std::string service_page_url(const HostPort& host, std::string_view path);

inline constexpr std::string_view kCabinetPath = "/cgi-bin/user.cgi";  // "Личный кабинет"
inline constexpr std::string_view kHelpPath = "/docs/help.htm";        // "Содержание"
inline constexpr std::string_view kSitePath = "/";  // "Сайт программы"

// The support mailbox: "support@" the service's host, or of the service's own default host when
// the server is given by an IP address (a local or test server has no mail domain).
std::string support_mail(const HostPort& host);
// The same as a "mailto:" link.
std::string support_mail_url(const HostPort& host);

}  // namespace zt
