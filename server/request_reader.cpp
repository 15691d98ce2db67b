#include "server/request_reader.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "server/request_head.h"

namespace zt::server {

namespace {

constexpr std::size_t kChunkLineCap = 1024;  // a chunk's size line with its extensions

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::optional<std::size_t> decimal(std::string_view s) {
    if (s.empty() || s.size() > 18) return std::nullopt;
    std::size_t n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + std::size_t(c - '0');
    }
    return n;
}

std::optional<std::size_t> hexadecimal(std::string_view s) {
    if (s.empty() || s.size() > 15) return std::nullopt;
    std::size_t n = 0;
    for (char c : s) {
        const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : std::isxdigit(static_cast<unsigned char>(c))
                          ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                          : -1;
        if (d < 0) return std::nullopt;
        n = n * 16 + std::size_t(d);
    }
    return n;
}

// Where a head ends in `data`, searching only where an end could have been completed by the
// bytes after `old_size` (so a head that trickles in is not scanned again and again).
std::optional<std::size_t> head_end_after(std::string_view data, std::size_t old_size) {
    const std::size_t from = old_size > 2 ? old_size - 2 : 0;
    const auto end = head_end(data.substr(from));
    if (!end) return std::nullopt;
    return from + *end;
}

}  // namespace

RequestReader::State RequestReader::refuse(int status) {
    m_status = status;
    m_state = State::Refused;
    m_data.clear();
    m_data.shrink_to_fit();
    m_body.clear();
    m_body.shrink_to_fit();
    return m_state;
}

RequestReader::State RequestReader::feed(std::string_view bytes) {
    if (m_state == State::Body) return feed_body(bytes);
    if (m_state != State::Head) return m_state;
    const std::size_t old_size = m_data.size();
    // Never more than one byte past the cap is kept: the whole head counts.
    const std::string_view part = bytes.substr(0, m_limits.head_cap + 1 - old_size);
    m_data.append(part);
    if (m_request_line.empty()) {
        // Kept as it came, for the log of a request refused before its head is complete.
        const std::size_t lf = m_data.find('\n');
        if (lf != std::string::npos)
            m_request_line = m_data.substr(0, lf && m_data[lf - 1] == '\r' ? lf - 1 : lf);
    }
    const auto end = head_end_after(m_data, old_size);
    if (!end) return m_data.size() > m_limits.head_cap ? refuse(431) : m_state;
    if (*end > m_limits.head_cap) return refuse(431);
    // The body bytes that came with the head.
    const std::string early = m_data.substr(*end);
    if (head_complete(*end) != State::Body) return m_state;
    feed_body(early);
    return feed_body(bytes.substr(part.size()));
}

RequestReader::State RequestReader::head_complete(std::size_t end) {
    const auto head = normalise_head(std::string_view(m_data).substr(0, end));
    m_data.clear();
    m_data.shrink_to_fit();
    if (!head) return refuse(400);
    // The library is given one Content-Length of our own: every framing line of the client's
    // goes, after its value has been checked.
    std::optional<std::size_t> length;
    bool chunked = false;
    std::string_view rest(*head);
    bool first = true;
    while (!rest.empty()) {
        const std::size_t eol = rest.find("\r\n");
        const std::string_view line = rest.substr(0, eol);
        rest.remove_prefix(eol == std::string_view::npos ? rest.size() : eol + 2);
        if (line.empty()) break;
        if (first) {
            first = false;
            m_head.append(line).append("\r\n");
            continue;
        }
        const std::size_t colon = line.find(':');
        const std::string name = lower(trim(line.substr(0, std::min(colon, line.size()))));
        const std::string_view value =
            colon == std::string_view::npos ? std::string_view() : trim(line.substr(colon + 1));
        if (name == "content-length") {
            const auto n = decimal(value);
            if (!n || (length && *length != *n)) return refuse(400);
            length = n;
        } else if (name == "transfer-encoding") {
            if (lower(value) != "chunked" || chunked) return refuse(501);
            chunked = true;
        } else if (name == "content-encoding") {
            // The library would inflate a compressed body with no limit on what comes out.
            if (!value.empty() && lower(value) != "identity") return refuse(415);
        } else if (name == "expect") {
            // The body is read before the library sees the request: nothing to continue.
        } else {
            m_head.append(line).append("\r\n");
        }
    }
    if (chunked && length) return refuse(400);
    if (length && *length > m_limits.body_cap) return refuse(413);
    m_chunked = chunked;
    m_length = length.value_or(0);
    m_state = State::Body;
    if (!m_chunked && m_length == 0) m_state = State::Done;
    return m_state;
}

RequestReader::State RequestReader::feed_body(std::string_view bytes) {
    if (m_state != State::Body) return m_state;
    if (m_chunked) return feed_chunked(bytes);
    const std::size_t take = std::min(bytes.size(), m_length - m_body.size());
    // The announced length at once (it counts against the budget from now on), instead of
    // doubling to as much again while it arrives.
    if (m_body.capacity() < m_length) m_body.reserve(m_length);
    m_body.append(bytes.substr(0, take));
    if (m_body.size() == m_length) m_state = State::Done;
    return m_state;
}

bool RequestReader::line(std::string_view& bytes, std::size_t cap, bool& too_long) {
    const std::size_t lf = bytes.find('\n');
    const std::size_t n = lf == std::string_view::npos ? bytes.size() : lf;
    if (m_line.size() + n > cap) {
        too_long = true;
        return false;
    }
    m_line.append(bytes.substr(0, n));
    bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
    return lf != std::string_view::npos;
}

RequestReader::State RequestReader::feed_chunked(std::string_view bytes) {
    while (!bytes.empty() && m_state == State::Body) {
        bool too_long = false;
        switch (m_chunk) {
            case Chunk::Size: {
                if (!line(bytes, kChunkLineCap, too_long)) {
                    if (too_long) return refuse(400);
                    break;
                }
                std::string_view size = m_line;
                size = trim(size.substr(0, size.find(';')));
                const auto n = hexadecimal(size);
                m_line.clear();
                if (!n) return refuse(400);
                // Counted before a byte of the chunk is read.
                if (*n > m_limits.body_cap - m_body.size()) return refuse(413);
                m_chunk_left = *n;
                m_chunk = *n == 0 ? Chunk::Trailer : Chunk::Data;
                break;
            }
            case Chunk::Data: {
                const std::size_t take = std::min(bytes.size(), m_chunk_left);
                m_body.append(bytes.substr(0, take));
                bytes.remove_prefix(take);
                m_chunk_left -= take;
                if (m_chunk_left == 0) m_chunk = Chunk::DataEnd;
                break;
            }
            case Chunk::DataEnd:
                if (!line(bytes, 1, too_long)) {
                    if (too_long) return refuse(400);
                    break;
                }
                if (!m_line.empty() && m_line != "\r") return refuse(400);
                m_line.clear();
                m_chunk = Chunk::Size;
                break;
            case Chunk::Trailer: {
                // Trailer fields are read and dropped; together they count as a head.
                const std::size_t before = m_line.size();
                const bool whole = line(bytes, m_limits.head_cap, too_long);
                if (too_long) return refuse(431);
                m_trailer += m_line.size() - before + (whole ? 1 : 0);
                if (m_trailer > m_limits.head_cap) return refuse(431);
                if (!whole) break;
                if (m_line.empty() || m_line == "\r") m_state = State::Done;
                m_line.clear();
                break;
            }
        }
    }
    return m_state;
}

ReadRequest RequestReader::take() {
    ReadRequest out{std::move(m_head), std::move(m_body)};
    out.length_line = out.head.size();
    out.head += "Content-Length: " + std::to_string(out.body.size()) + "\r\n\r\n";
    m_head = std::string();
    m_body = std::string();
    return out;
}

}  // namespace zt::server
