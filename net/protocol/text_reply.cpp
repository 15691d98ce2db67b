#include "net/protocol/text_reply.h"

namespace zt::protocol {

std::vector<std::string> split_reply_lines(std::string_view body) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\r' && body[i] != '\n') continue;
        lines.emplace_back(body.substr(start, i - start));
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < body.size()) lines.emplace_back(body.substr(start));
    return lines;
}

std::string write_error_reply(std::string_view message) {
    std::string out = "ERROR\n";
    // The message is one line: a line break inside it would cut it short.
    for (char c : message) out += (c == '\r' || c == '\n') ? ' ' : c;
    out += '\n';
    return out;
}

std::optional<std::string> read_error_reply(std::string_view body) {
    if (body.substr(0, 5) != "ERROR") return std::nullopt;
    const auto lines = split_reply_lines(body);
    return lines.size() > 1 ? lines[1] : std::string();
}

}  // namespace zt::protocol
