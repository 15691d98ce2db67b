#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zt::server {

// Client bytes as the access log shows them: printable ASCII as it is, every other byte (ESC,
// CR, LF, the C1 range, the quote and the backslash that delimit the field) as \xHH, so a client
// can neither drive a terminal that shows the log nor forge a line of it.
std::string log_escape(std::string_view bytes);

// One line on standard error in the Common Log Format with the time taken appended, as web
// servers write it and log tools read it:
//   address - - [10/Dec/2026:12:00:00 +0000] "request" status bytes milliseconds
// (the time is UTC, when the line is written; bytes are the reply's body; milliseconds run
// from accepting the connection to the reply's last byte handed to the system).
void log_request(std::string_view address, std::string_view request, int status, std::size_t bytes,
                 long long milliseconds);

}  // namespace zt::server
