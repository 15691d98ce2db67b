#include "storage_util.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "core/cp1251.h"
#include "core/genres.h"
#include "core/maintenance.h"
#include "storage/field_codec.h"
#include "storage/section.h"
#include "tools/gen/schedule_generator.h"
#include "tools/json/store_json.h"

namespace zt::test {

ProgramDir::ProgramDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zt_storage_XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    m_root = pattern;
    std::filesystem::create_directory(dat());
}

ProgramDir::~ProgramDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}

Env::Env(const ProgramDir& dir, FileSystem* files)
    : store(make_store(at("2024-03-14 12:00"))), ctx(*store, rec, rec, user, files) {
    store->exe_dir = dir.exe_dir();
}

void fill_sample(Env& env, const std::string& profile, std::uint32_t seed) {
    all_list& s = *env.store;
    gen::generate(s, gen::profile_by_name(profile), s.clock().now(), seed);
    s.types[9]->abbr = "Ком"_cp;
    s.types[20]->abbr = "M";
    auto g = add_type_group(s, -1, "Кино и сериалы"_cp);
    add_type_group_member(*g, 10, 9);
    add_type_group_member(*g, 21, 20);
    add_type_group(s, -1, "");
    env.user.login = "Зритель"_cp;
    env.user.password = "5ebe2294ecd0e0f08eab7690d2a6ee69";
    env.user.paid_login = "paid-zritel";
    env.user.save_password = true;
    s.recount_chl_groups();
    NullProgress none;
    link_tvprog_parts(s, none);
}

std::string dump(const Env& env) {
    std::ostringstream out;
    write_store_json(out, *env.store, env.user, {});
    return out.str();
}

std::string read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string make_file(std::int32_t version, std::string body) {
    DeflateSection(body);
    return i32(version) + body;
}

std::pair<std::int32_t, std::string> open_file(const std::string& file_bytes) {
    if (file_bytes.size() < 4) return {0, {}};
    const std::int32_t version = FieldReader(file_bytes).Int32();
    std::string body = file_bytes.substr(4);
    if (!InflateSection(body)) return {0, {}};
    return {version, body};
}

std::string i32(std::int32_t v) {
    std::string s;
    FieldWriter(s).Int32(v);
    return s;
}

std::string st(const std::string& cp1251) {
    std::string s;
    FieldWriter(s).ShortText(cp1251);
    return s;
}

}  // namespace zt::test
