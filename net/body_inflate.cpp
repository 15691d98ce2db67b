#include "net/body_inflate.h"

#include <zlib.h>

#include <algorithm>

namespace zt::net {

namespace {
constexpr std::size_t kChunk = 102399;
}

InflateResult inflate_body(std::string_view body, std::string& out, std::size_t max_output,
                           const std::function<bool()>& idle) {
    out.clear();
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return InflateResult::damaged;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    // Bodies are capped far below 4 GB, so one call takes the whole input.
    z.avail_in = uInt(std::min<std::size_t>(body.size(), 0xFFFFFFFFu));
    out.reserve(std::min(max_output, body.size() * 4));
    InflateResult result = InflateResult::ok;
    for (;;) {
        const std::size_t old = out.size();
        out.resize(old + kChunk);
        z.next_out = reinterpret_cast<Bytef*>(out.data() + old);
        z.avail_out = uInt(kChunk);
        const int rc = inflate(&z, Z_NO_FLUSH);
        out.resize(old + (kChunk - z.avail_out));
        if (out.size() > max_output) {
            result = InflateResult::too_large;
            break;
        }
        if (rc == Z_STREAM_END) break;
        if (rc != Z_OK || (z.avail_in == 0 && z.avail_out != 0)) {
            result = InflateResult::damaged;
            break;
        }
        if (idle && !idle()) {
            result = InflateResult::cancelled;
            break;
        }
    }
    inflateEnd(&z);
    if (result != InflateResult::ok) std::string().swap(out);
    return result;
}

}  // namespace zt::net
