#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zt::net {

// The largest response head accepted.
constexpr std::size_t kMaxHeadSize = 5120;

// Collects the response head byte by byte. After each byte from the sixth on, the head is
// complete when it ends in CR CR, LF LF or LF CR LF.
class HeadReader final {
public:
    // Takes bytes from `data` until the head is complete or full; returns how many it took.
    std::size_t feed(std::string_view data);
    bool complete() const { return m_complete; }
    bool full() const { return !m_complete && m_head.size() >= kMaxHeadSize; }
    const std::string& head() const { return m_head; }

private:
    std::string m_head;
    bool m_complete = false;
};

// What the exchange needs from a head.
struct ResponseHead final {
    std::string status;  // the first line from its tenth character on
    bool ok = false;     // status is "200 OK" in any letter case
    // The value of the first "CONTENT-LENGTH: " line (any letter case, one space after the
    // colon); nothing without such a line.
    std::optional<std::uint64_t> content_length;
    bool length_unreadable = false;  // such a line whose value is not a decimal number
};

ResponseHead parse_response_head(std::string_view head);

}  // namespace zt::net
