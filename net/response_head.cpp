#include "net/response_head.h"

#include <vector>

#include "net/protocol/text_reply.h"

namespace zt::net {

std::size_t HeadReader::feed(std::string_view data) {
    std::size_t taken = 0;
    while (taken < data.size() && !m_complete && m_head.size() < kMaxHeadSize) {
        m_head += data[taken++];
        const std::size_t n = m_head.size();
        if (n - 1 <= 4) continue;
        const char a = m_head[n - 3], b = m_head[n - 2], c = m_head[n - 1];
        if ((b == '\r' && c == '\r') || (b == '\n' && c == '\n') ||
            (a == '\n' && b == '\r' && c == '\n'))
            m_complete = true;
    }
    return taken;
}

namespace {

bool iequal_ascii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 32);
        if (y >= 'a' && y <= 'z') y = char(y - 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace

ResponseHead parse_response_head(std::string_view head) {
    ResponseHead r;
    const std::vector<std::string> lines = protocol::split_reply_lines(head);
    if (!lines.empty() && lines[0].size() > 9) r.status = lines[0].substr(9);
    r.ok = iequal_ascii(r.status, "200 OK");
    static constexpr std::string_view kLength = "CONTENT-LENGTH: ";
    for (const std::string& line : lines) {
        if (line.size() < kLength.size() || !iequal_ascii(line.substr(0, kLength.size()), kLength))
            continue;
        const std::string_view value = std::string_view(line).substr(kLength.size());
        std::uint64_t n = 0;
        bool digits = !value.empty() && value.size() <= 18;
        for (const char c : value) {
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            n = n * 10 + std::uint64_t(c - '0');
        }
        if (digits)
            r.content_length = n;
        else
            r.length_unreadable = true;
        break;
    }
    return r;
}

}  // namespace zt::net
