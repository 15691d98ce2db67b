// Writes the seed corpora of the data-file fuzz targets into DIR/<target>/: each file of a
// small generated store in both input forms (as on disk, and as version plus body), the
// version 1 layouts of u.dat and t.dat, and a few damaged variants.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "core/genres.h"
#include "core/time_zones.h"
#include "fuzz_common.h"
#include "storage/field_codec.h"
#include "storage/legacy_layout.h"
#include "storage/section.h"
#include "tools/gen/schedule_generator.h"

namespace fs = std::filesystem;
using namespace zt;

namespace {

void put(const fs::path& dir, const std::string& name, const std::string& bytes) {
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::string i32(std::int32_t v) {
    std::string s;
    FieldWriter(s).Int32(v);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_seeds DIR\n";
        return 2;
    }
    const fs::path root(argv[1]);
    auto store = std::make_unique<all_list>(
        std::make_shared<FixedClock>(*DateTime::fromParts(2024, 3, 14, 12)));
    build_types(*store);
    build_time_zones(*store);
    gen::generate(*store, gen::profile_by_name("tiny"), store->clock().now());
    fuzz::SilentUi ui;
    NullProgress none;
    user_account user{"zritel", "5ebe2294ecd0e0f08eab7690d2a6ee69", "", true};
    const DataContext ctx(*store, ui, none, user);
    const std::pair<char, std::string> bodies[] = {
        {'u', build_u_body(ctx)}, {'v', build_v_body(ctx)},    {'t', build_t_body(ctx)},
        {'m', build_m_body(ctx)}, {'u', build_u_body_v1(ctx)}, {'t', build_t_body_v1(ctx)}};
    int n = 0;
    for (const auto& [file, body] : bodies) {
        const fs::path dir = root / (std::string("fuzz_load_") + file);
        const std::int32_t version = ++n > 4 ? 1 : 2;
        std::string packed = body;
        DeflateSection(packed);
        const std::string on_disk = i32(version) + packed;
        put(dir, "disk_v" + std::to_string(version), std::string(1, '\0') + on_disk);
        put(dir, "body_v" + std::to_string(version), std::string(1, '\1') + i32(version) + body);
        put(dir, "cut_v" + std::to_string(version),
            std::string(1, '\1') + i32(version) + body.substr(0, body.size() / 3));
        put(root / "fuzz_codec", std::string(1, file) + std::to_string(version),
            "\x07" + i32(std::int32_t(packed.size())) + packed);
    }
    std::cout << "seeds written to " << root << '\n';
    return 0;
}
