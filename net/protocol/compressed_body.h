#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zt::protocol {

// A whole response body may travel as one zlib stream written at the highest level, so that it
// starts with the bytes 0x78 0xDA; any other body is taken as it is.

// Compresses `body` into a complete zlib stream beginning 0x78 0xDA.
std::string compress_body(std::string_view body);

// True when the body starts with 0x78 0xDA.
bool is_compressed_body(std::string_view body);

// The body as the caller uses it: inflated when it is compressed, unchanged otherwise. Nothing
// when a compressed body does not inflate, fails its checksum or would exceed `max_output`.
std::optional<std::string> open_body(std::string_view body, std::size_t max_output);

}  // namespace zt::protocol
