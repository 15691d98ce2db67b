// libFuzzer target: import files through the reader, the selection lists and the day records
// applied to an in-memory store. Input: first byte even, the rest is the file as it is; odd,
// the rest is an inflated programme-day section, placed after a small valid package list and
// compressed here so that the fuzzer reaches the day records.
#include <cstdint>
#include <string>

#include "core/genres.h"
#include "core/store.h"
#include "net/apply_paket_list.h"
#include "net/apply_schedule.h"
#include "net/protocol/import_layout.h"
#include "storage/field_codec.h"

namespace {

std::string wrap_days(std::string days) {
    zt::protocol::PaketList list;
    list.channels = {{1, "A", "", "00000001", {}, {}, {}}, {2, "B", "", "00000002", {}, {}, {}}};
    list.pakets = {{10, 0, "P", "", {}, {}, {{1, "01:00", "1"}, {2, "", ""}}}};
    std::string file;
    zt::FieldWriter w(file);
    w.Int32(zt::protocol::kImportVersion);
    file += zt::protocol::write_paket_list(list);
    w.ZSection(std::move(days));
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string file = (data[0] & 1) ? wrap_days(std::move(rest)) : std::move(rest);
    if (zt::protocol::read_import_version(file) != zt::protocol::kImportVersion) return 0;
    try {
        auto sections = zt::protocol::read_import_sections(std::string_view(file).substr(4));
        zt::protocol::read_import_days(sections.tvprog, [](const auto&) {});
        zt::all_list store;
        zt::build_types(store);
        zt::net::SelectionLists lists;
        zt::NullProgress progress;
        zt::net::ReadPaketList(lists, sections.list, progress);
        zt::net::BuildPaketTree(lists, progress);
        for (const auto& p : lists.update_pakets)
            for (auto& e : p->channels) e.ticked = 1;
        zt::net::ApplySelection(store, lists, true);
        zt::protocol::read_import_days(sections.tvprog, [&](const auto& d) {
            zt::net::ApplyProgrammeDay(store, d.channel_id, d.day, d.payload, false, true, 0);
        });
    } catch (const zt::field_error&) {
    }
    return 0;
}
