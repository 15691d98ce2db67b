#include "server/access_log.h"

#include <cstdio>

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

void log_request(std::string_view address, std::string_view request, int status,
                 std::size_t bytes) {
    const std::string line = log_escape(address) + " \"" + log_escape(request) + "\" " +
                             std::to_string(status) + " " + std::to_string(bytes) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace zt::server
