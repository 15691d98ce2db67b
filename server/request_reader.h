#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zt::server {

// A whole request: the head (ending in its blank line) and the body.
struct ReadRequest final {
    std::string head;
    std::string body;
    std::size_t length_line = 0;  // where the head's one Content-Length line (ours) begins
};

struct RequestLimits final {
    std::size_t head_cap = std::size_t(16) << 10;  // the whole head, request line included
    std::size_t body_cap = std::size_t(16) << 20;  // the body with its transfer coding undone
};

// Reads one request from a connection's bytes as they arrive, before the HTTP library sees any
// of it: the head, counted whole, then the body by Content-Length or chunked, counted as it
// arrives so that no coding carries more than the cap. What it hands on is a request the library
// cannot read past: the normalised head with one Content-Length, then exactly that many bytes.
class RequestReader final {
public:
    enum class State { Head, Body, Done, Refused };

    explicit RequestReader(RequestLimits limits = {}) : m_limits(limits) {}

    // Takes the next bytes of the connection; bytes after a complete request are ignored.
    State feed(std::string_view bytes);
    State state() const { return m_state; }
    // The status to answer a refused request with: 400, 413, 415, 431 or 501.
    int status() const { return m_status; }
    // The request line as the client sent it, once it has come (for the access log).
    const std::string& request_line() const { return m_request_line; }
    // Bytes the connection holds now: the head read so far, or the room taken for the body.
    std::size_t held() const {
        return m_state == State::Refused ? 0 : m_data.size() + m_body.capacity();
    }
    // Done: the request for the library, the body moved rather than copied. Leaves the reader
    // empty.
    ReadRequest take();

private:
    enum class Chunk { Size, Data, DataEnd, Trailer };

    State refuse(int status);
    State head_complete(std::size_t end);
    State feed_body(std::string_view bytes);
    State feed_chunked(std::string_view bytes);
    // Gathers a line of a chunked body into m_line; true when its LF has come.
    bool line(std::string_view& bytes, std::size_t cap, bool& too_long);

    RequestLimits m_limits;
    State m_state = State::Head;
    int m_status = 0;
    std::string m_data;  // the head so far
    std::string m_head;  // the normalised head without its framing lines and blank line
    std::string m_request_line;
    std::string m_body;
    bool m_chunked = false;
    std::size_t m_length = 0;  // Content-Length
    Chunk m_chunk = Chunk::Size;
    std::size_t m_chunk_left = 0;
    std::string m_line;
    std::size_t m_trailer = 0;
};

}  // namespace zt::server
