#pragma once

// Shared harness of the data-file fuzz targets. Each input is one data file:
//   first byte even: the rest is the file as it is on disk (version and compressed body);
//   first byte odd:  the rest is a version and an uncompressed body, compressed here, so the
//                    fuzzer reaches the parsers instead of stopping at the checksum.
// The files a loader depends on (u.dat before v, t and m; t.dat before m) come from a small
// generated store and are the same for every input. Everything stays in memory.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "core/progress.h"
#include "core/store.h"
#include "storage/data_files.h"

namespace zt::fuzz {

// The loaders' bounds under fuzzing, far below the program's own (which scale with the memory)
// so every limit is reached by inputs of a few hundred kilobytes.
constexpr std::size_t kFuzzBodyLimit = std::size_t(64) << 20;
constexpr std::size_t kFuzzRecordBudget = std::size_t(64) << 20;

class MemoryFs final : public FileSystem {
public:
    ReadResult read_file(const std::string& path, std::string& out) override;
    std::map<std::string, std::string> files;  // by file name
};

class SilentUi final : public UserInterface {
public:
    bool show_msg(MsgKind, const std::string&) override { return true; }
};

// The files of the generated store, as written by the savers.
const std::map<std::string, std::string>& sample_files();

// The file bytes an input stands for (see above).
std::string input_to_file(const std::uint8_t* data, std::size_t size);

// Loads `given` (u, v, t or m) from the input after the files it depends on.
void load_with(char given, const std::uint8_t* data, std::size_t size);

}  // namespace zt::fuzz
