#include "server/access_log.h"

#include <cstdio>
#include <ctime>

namespace zt::server {

std::string log_escape(std::string_view bytes) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '"' && c != '\\') {
            out += c;
        } else {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

void log_request(std::string_view address, std::string_view request, int status, std::size_t bytes,
                 long long milliseconds) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    // The month's English abbreviation whatever the process's locale.
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char when[40];
    std::snprintf(when, sizeof when, "[%02d/%s/%04d:%02d:%02d:%02d +0000]", utc.tm_mday,
                  kMonths[utc.tm_mon % 12], utc.tm_year + 1900, utc.tm_hour, utc.tm_min,
                  utc.tm_sec);
    const std::string line = log_escape(address) + " - - " + when + " \"" + log_escape(request) +
                             "\" " + std::to_string(status) + " " + std::to_string(bytes) + " " +
                             std::to_string(milliseconds) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace zt::server
