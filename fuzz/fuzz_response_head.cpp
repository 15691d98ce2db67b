// libFuzzer target: a response head through the head reader (fed in pieces of every size the
// first byte chooses) and the status and length parser.
#include <cstdint>
#include <string_view>

#include "net/response_head.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = data[0] % 64 + 1;
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    zt::net::HeadReader reader;
    while (!input.empty() && !reader.complete() && !reader.full()) {
        const std::string_view chunk = input.substr(0, piece);
        const std::size_t taken = reader.feed(chunk);
        input.remove_prefix(taken);
        // The reader stops early only at the end of the head or when it is full.
        if (taken < chunk.size() && !reader.complete() && !reader.full()) __builtin_trap();
    }
    if (reader.head().size() > zt::net::kMaxHeadSize) __builtin_trap();
    (void)zt::net::parse_response_head(reader.head());
    return 0;
}
