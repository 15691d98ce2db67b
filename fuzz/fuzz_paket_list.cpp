// libFuzzer target: a package list reply (two compressed sections) read and applied to the
// selection lists and the package tree.
#include <cstdint>
#include <string_view>

#include "net/apply_paket_list.h"
#include "net/protocol/paket_list.h"
#include "storage/field_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    zt::protocol::PaketList list;
    try {
        list = zt::protocol::read_paket_list(body);
    } catch (const zt::field_error&) {
        return 0;
    }
    zt::net::SelectionLists lists;
    zt::NullProgress progress;
    zt::net::ReadPaketList(lists, list, progress);
    zt::net::BuildPaketTree(lists, progress);
    return 0;
}
