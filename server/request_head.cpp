#include "server/request_head.h"

#include <vector>

namespace zt::server {

std::optional<std::size_t> head_end(std::string_view data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] != '\n') continue;
        if (i + 1 < data.size() && data[i + 1] == '\n') return i + 2;
        if (i + 2 < data.size() && data[i + 1] == '\r' && data[i + 2] == '\n') return i + 3;
    }
    return std::nullopt;
}

std::optional<std::string> normalise_head(std::string_view head) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < head.size()) {
        std::size_t end = head.find('\n', start);
        if (end == std::string_view::npos) end = head.size();
        std::string_view line = head.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty()) return std::nullopt;

    const std::string_view request = lines[0];
    const std::size_t sp1 = request.find(' ');
    const std::size_t sp2 = request.rfind(' ');
    if (sp1 == std::string_view::npos || sp1 == 0 || sp2 == sp1 || sp2 + 1 >= request.size())
        return std::nullopt;
    std::string_view target = request.substr(sp1 + 1, sp2 - sp1 - 1);
    if (target.empty() || target.find(' ') != std::string_view::npos) return std::nullopt;
    // Absolute form: drop the scheme and the authority.
    constexpr std::string_view kScheme = "http://";
    if (target.size() >= kScheme.size()) {
        std::string scheme(target.substr(0, kScheme.size()));
        for (char& c : scheme) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (scheme == kScheme) {
            const std::size_t slash = target.find_first_of("/?", kScheme.size());
            target = slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
        }
    }
    std::string out;
    out.reserve(head.size() + lines.size() + 8);
    out.append(request.substr(0, sp1 + 1));
    if (target[0] == '?') out += '/';
    out.append(target);
    out.append(request.substr(sp2));
    out += "\r\n";
    for (std::size_t i = 1; i < lines.size(); ++i) {
        out.append(lines[i]);
        out += "\r\n";
    }
    out += "\r\n";
    return out;
}

std::optional<std::size_t> content_length(std::string_view head) {
    constexpr std::string_view kName = "content-length:";
    std::size_t start = 0;
    while (start < head.size()) {
        std::size_t end = head.find('\n', start);
        if (end == std::string_view::npos) end = head.size();
        const std::string_view line = head.substr(start, end - start);
        start = end + 1;
        if (line.size() < kName.size()) continue;
        bool match = true;
        for (std::size_t i = 0; i < kName.size() && match; ++i)
            match = std::tolower(static_cast<unsigned char>(line[i])) == kName[i];
        if (!match) continue;
        std::string_view value = line.substr(kName.size());
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.remove_prefix(1);
        while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
            value.remove_suffix(1);
        std::size_t n = 0;
        if (value.empty() || value.size() > 18) return std::nullopt;
        for (char c : value) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + std::size_t(c - '0');
        }
        return n;
    }
    return 0;
}

}  // namespace zt::server
