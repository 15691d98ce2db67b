// libFuzzer target: what the server reads from a client. The first byte chooses the reader:
// the schedule request body, the request head normaliser with its length check, or the request
// reader in front of the HTTP library (fed in two parts, split where the second byte says).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/protocol/schedule_request.h"
#include "server/request_head.h"
#include "server/request_reader.h"
#include "storage/field_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 3 == 2) {
        zt::server::RequestReader reader({1024, 4096});
        const std::size_t split = bytes.empty() ? 0 : std::uint8_t(bytes[0]) % bytes.size();
        reader.feed(bytes.substr(0, split));
        const auto state = reader.feed(bytes.substr(split));
        // The head within its cap, the body's room at most twice the cap (it doubles as it grows).
        if (reader.held() > 1025 + 2 * 4096 + 64) __builtin_trap();
        if (state == zt::server::RequestReader::State::Done) {
            const auto taken = reader.take();
            const std::string request = taken.head + taken.body;
            // What is handed on is a head the normaliser reads back and a body of its length,
            // the one Content-Length among the header lines (the request line is not one).
            const auto end = zt::server::head_end(request);
            const std::size_t first = request.find("\r\n");
            if (!end || first == std::string::npos || first + 2 > *end) __builtin_trap();
            if (taken.head.compare(taken.length_line, 16, "Content-Length: ") != 0)
                __builtin_trap();
            const auto length =
                zt::server::content_length(request.substr(first + 2, *end - first - 2));
            if (!length || *length != request.size() - *end || *length > 4096) __builtin_trap();
        }
        return 0;
    }
    if (data[0] % 3 == 0) {
        try {
            const auto request = zt::protocol::read_schedule_request(bytes);
            // What was read is what the writer writes back.
            if (zt::protocol::write_schedule_request(request).size() > bytes.size() + 8)
                __builtin_trap();
        } catch (const zt::field_error&) {
        }
        return 0;
    }
    if (const auto end = zt::server::head_end(bytes)) {
        if (const auto head = zt::server::normalise_head(bytes.substr(0, *end))) {
            zt::server::content_length(*head);
            if (!zt::server::head_end(*head)) __builtin_trap();
        }
    }
    return 0;
}
