#pragma once

#include <string>

namespace zt {

// The running time of the statistics window ("Продолжительность сессии:"), UTF-8: "59 мин."
// below an hour, "1 ч. 30 мин." from an hour on.
std::string session_time_text(unsigned minutes);

}  // namespace zt
