// libFuzzer target: a schedule reply applied to a store holding the channels the blocks name
// most often (ids 0..3), so every block type reaches the store.
#include <cstdint>
#include <string_view>

#include "core/genres.h"
#include "core/store.h"
#include "net/apply_schedule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zt::net::DownloadHost host;
    zt::all_list store;
    zt::build_types(store);
    for (std::int32_t id = 0; id < 4; ++id)
        store.add_channel(id, "c", "", "00000000", store.add_logo({"a", "b", "c"}));
    (void)zt::net::ReadScheduleBlocks(
        store, std::string_view(reinterpret_cast<const char*>(data), size), host, 0);
    return 0;
}
