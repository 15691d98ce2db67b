#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zt::server {

// Client bytes as the access log shows them: printable ASCII as it is, every other byte (ESC,
// CR, LF, the C1 range, the quote and the backslash that delimit the field) as \xHH, so a client
// can neither drive a terminal that shows the log nor forge a line of it.
std::string log_escape(std::string_view bytes);

// One line on standard error: `address "request" status bytes`.
void log_request(std::string_view address, std::string_view request, int status, std::size_t bytes);

}  // namespace zt::server
