#include "net/protocol/import_layout.h"

#include "storage/field_codec.h"

namespace zt::protocol {

namespace {
constexpr std::size_t kDayLength = 10;

// Steps over one length-prefixed section without inflating it.
void skip_section(FieldReader& r) {
    const std::int32_t n = r.Int32();
    if (n < 0) throw field_error("negative section length");
    r.Bytes(std::size_t(n));
}
}  // namespace

std::string write_import_file(const PaketList& list, const std::vector<ImportDay>& days) {
    std::string tvprog;
    FieldWriter dw(tvprog);
    for (const auto& d : days) {
        dw.Int32(d.channel_id);
        dw.FixedText(d.day, kDayLength);
        dw.Bytes(encode_programmes(d.progs));
    }
    std::string out;
    FieldWriter w(out);
    w.Int32(kImportVersion);
    out += write_paket_list(list);
    w.ZSection(std::move(tvprog));
    return out;
}

std::optional<std::int32_t> read_import_version(std::string_view file) {
    if (file.size() < 4) return std::nullopt;
    return FieldReader(file).Int32();
}

ImportSections read_import_sections(std::string_view rest) {
    FieldReader r(rest);
    skip_section(r);
    skip_section(r);
    ImportSections out;
    out.list = read_paket_list(rest.substr(0, r.pos()));
    out.tvprog = r.ZSection();
    return out;
}

void read_import_days(std::string_view tvprog,
                      const std::function<void(const ImportDayRecord&)>& visit) {
    FieldReader r(tvprog);
    while (!r.at_end()) {
        ImportDayRecord d;
        d.channel_id = r.Int32();
        d.day = r.FixedText(kDayLength);
        const std::size_t from = r.pos();
        read_programmes(r);
        d.payload = tvprog.substr(from, r.pos() - from);
        visit(d);
    }
}

}  // namespace zt::protocol
