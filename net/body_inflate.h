#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zt::net {

enum class InflateResult { ok, damaged, too_large, cancelled };

// Inflates a whole compressed response body (a zlib stream) into `out`, reading the inflater's
// output in chunks of at most 102,399 bytes. After each chunk `idle` runs; it returns false to
// cancel. Fails when the stream is damaged or incomplete, or when the output would exceed
// `max_output` bytes; `out` is then empty.
InflateResult inflate_body(std::string_view body, std::string& out, std::size_t max_output,
                           const std::function<bool()>& idle);

}  // namespace zt::net
