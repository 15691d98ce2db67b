#pragma once

// Shared pieces of the storage tests: a data folder in a temporary directory, a store with its
// context, and helpers to build and inspect data files.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "core/store.h"
#include "storage/data_files.h"
#include "test_support.h"

namespace zt::test {

// A program folder with an empty "dat" folder, removed afterwards.
class ProgramDir final {
public:
    ProgramDir();
    ~ProgramDir();
    ProgramDir(const ProgramDir&) = delete;
    ProgramDir& operator=(const ProgramDir&) = delete;
    // With a trailing '/'.
    std::string exe_dir() const { return m_root.string() + "/"; }
    std::filesystem::path dat() const { return m_root / "dat"; }
    std::filesystem::path file(const std::string& name) const { return dat() / name; }

private:
    std::filesystem::path m_root;
};

// A store on a fixed clock pointed at a program folder, with its messages recorded.
struct Env final {
    explicit Env(const ProgramDir& dir, FileSystem* files = nullptr);
    std::unique_ptr<all_list> store;
    Recorder rec;
    user_account user;
    DataContext ctx;
};

// A store filled by the generator, with genre abbreviations, genre groups, login data and
// linked parts and group counts, as a loaded store has them.
void fill_sample(Env& env, const std::string& profile = "tiny", std::uint32_t seed = 1);

// The store as the inspection JSON (without messages).
std::string dump(const Env& env);

std::string read_bytes(const std::filesystem::path& path);
void write_bytes(const std::filesystem::path& path, const std::string& bytes);

// A data file of `version` around an uncompressed body.
std::string make_file(std::int32_t version, std::string body);
// The version and inflated body of a data file; version 0 and empty when unreadable.
std::pair<std::int32_t, std::string> open_file(const std::string& file_bytes);

// Little-endian Int32 and ShortText, for writing bodies by hand.
std::string i32(std::int32_t v);
std::string st(const std::string& cp1251);

}  // namespace zt::test
