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

// The support address as a "mailto:" link: the "support" mailbox of the service's host.
std::string support_mail_url(const HostPort& host);

}  // namespace zt
