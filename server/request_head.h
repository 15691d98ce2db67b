#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zt::server {

// Clients of this service write requests the way a plain HTTP/1.0 client does: lines ended by
// LF alone, and, through a proxy, the absolute form "GET http://host/path HTTP/1.0". The HTTP
// library in front wants CR LF and the origin form, so each request head is rewritten first.

// Where the head ends in `data` (the offset of the first body byte), or nothing while the
// blank line has not arrived. LF LF, CR LF CR LF and LF CR LF all end a head.
std::optional<std::size_t> head_end(std::string_view data);

// The head with every line ended by CR LF and the request target in origin form ("/path?q").
// Nothing when the request line is not "METHOD TARGET VERSION".
std::optional<std::string> normalise_head(std::string_view head);

// The value of the head's Content-Length line (any letter case), 0 when there is none;
// nothing when the value is not a decimal number.
std::optional<std::size_t> content_length(std::string_view head);

}  // namespace zt::server
