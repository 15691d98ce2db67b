// libFuzzer target: update scripts through the reader and the path checks of every command.
// Property: whatever a script names, an accepted path lies inside the program folder.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/protocol/update_script.h"
#include "net/update_paths.h"

namespace {
// Not created: the checks resolve what exists and keep the rest as written.
const std::string kExeDir = "/nonexistent/zt_fuzz_prog/";

void check(const std::optional<std::string>& path) {
    if (!path) return;
    const std::string& p = *path;
    const std::string root = kExeDir.substr(0, kExeDir.size() - 1);
    if (p != root && p.rfind(kExeDir, 0) != 0) std::abort();
    if (p.find("/../") != std::string::npos) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    for (const auto& c : zt::protocol::read_update_script(body)) {
        check(zt::net::path_in_program_folder(kExeDir, c.arg2 + c.arg1));
        check(zt::net::path_in_program_folder(kExeDir, c.arg1));
        check(zt::net::path_in_program_folder(kExeDir, c.arg2));
        check(zt::net::folder_in_program_folder(kExeDir, c.arg2));
    }
    return 0;
}
