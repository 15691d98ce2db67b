#include "dialogs/logic/session_text.h"

namespace zt {

std::string session_time_text(unsigned minutes) {
    if (minutes < 60) return std::to_string(minutes) + " мин.";
    return std::to_string(minutes / 60) + " ч. " + std::to_string(minutes % 60) + " мин.";
}

}  // namespace zt
