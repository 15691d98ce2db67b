// libFuzzer target: profile text through the settings reader; every group is loaded, written
// back and read again.
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/ini_file.h"
#include "storage/settings.h"

namespace {
// Saving writes the file; each run writes the same scratch file.
const std::string kScratch = "/tmp/zt_fuzz_settings.ini";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zt::IniFile ini;
    ini.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    zt::Settings settings;
    settings.load_all(ini);
    zt::IniFile out;
    out.set_path(kScratch);
    settings.save_all(out);
    zt::IniFile again;
    again.parse(out.text());
    zt::Settings reread;
    reread.load_all(again);
    return 0;
}
