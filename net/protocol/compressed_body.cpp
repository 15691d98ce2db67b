#include "net/protocol/compressed_body.h"

#include <zlib.h>

#include <algorithm>

#include "storage/section.h"

namespace zt::protocol {

std::string compress_body(std::string_view body) {
    uLongf size = compressBound(uLong(body.size()));
    std::string out(size, '\0');
    const int rc = compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                             reinterpret_cast<const Bytef*>(body.data()), uLong(body.size()),
                             Z_BEST_COMPRESSION);
    if (rc != Z_OK) throw std::bad_alloc();
    out.resize(size);
    return out;
}

bool is_compressed_body(std::string_view body) {
    return body.size() >= 2 && static_cast<unsigned char>(body[0]) == 0x78 &&
           static_cast<unsigned char>(body[1]) == 0xDA;
}

std::optional<std::string> open_body(std::string_view body, std::size_t max_output) {
    if (!is_compressed_body(body)) return std::string(body);
    // A whole body must be one complete stream: data that stops before the stream's end is a
    // cut-off body, not a short one.
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return std::nullopt;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    zs.avail_in = uInt(body.size());
    std::string out;
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (out.size() >= max_output) break;
        const std::size_t step = std::min(kSectionChunk, max_output - out.size());
        const std::size_t had = out.size();
        out.resize(had + step);
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + had);
        zs.avail_out = uInt(step);
        rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(had + step - zs.avail_out);
        if (rc == Z_BUF_ERROR && zs.avail_in == 0) break;  // input ended before the stream did
    }
    inflateEnd(&zs);
    if (rc != Z_STREAM_END) return std::nullopt;
    return out;
}

}  // namespace zt::protocol
