// libFuzzer target: what the server reads from a client. The first byte chooses the reader:
// the schedule request body, or the request head normaliser with its length check.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/protocol/schedule_request.h"
#include "server/request_head.h"
#include "storage/field_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
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
