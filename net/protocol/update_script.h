#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zt::protocol {

// One line of the update script: a command ("GET", "SIZE", "RNM", "DEL") and its two
// arguments, separated by TABs.
struct UpdateCommand final {
    std::string command;
    std::string arg1;
    std::string arg2;
    bool operator==(const UpdateCommand&) const = default;
};

std::string write_update_script(const std::vector<UpdateCommand>& commands);

// Empty lines are skipped; fields beyond the third are ignored, missing ones are empty.
std::vector<UpdateCommand> read_update_script(std::string_view body);

}  // namespace zt::protocol
