#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zt {

class FileSystem;

// A write of the settings file that the file system refused. The message names the file
// ("Unable to write to <path>", UTF-8); reason() tells what the system said.
class SettingsWriteError final : public std::runtime_error {
public:
    SettingsWriteError(const std::string& path, std::string reason);
    const std::string& path() const { return m_path; }
    const std::string& reason() const { return m_reason; }

private:
    std::string m_path;
    std::string m_reason;
};

// The profile file: "[SECTION]" lines open sections, "KEY=value" lines hold values. Names are
// matched without regard to letter case, the first of duplicate sections or keys wins, and
// names and values lose their leading and trailing blanks on reading. Values are CP1251 bytes,
// kept as they are. Lines the reader does not understand (comments, text without "=") and
// sections and keys nobody asks for are kept and written back unchanged.
//
// The file is read whole by load() and written whole by save(), through a temporary file in
// the same folder that replaces the old one only once it is complete on disk.
class IniFile final {
public:
    IniFile() = default;
    // Binds the object to a path (UTF-8) and reads the file; see load().
    explicit IniFile(std::string path);

    const std::string& path() const { return m_path; }
    void set_path(std::string path) { m_path = std::move(path); }

    // The largest settings file read; a larger one is left alone.
    static constexpr std::size_t kMaxFileSize = std::size_t(4) << 20;
    enum class LoadResult {
        ok,       // read (or missing or unreadable: an empty profile, as a first start has)
        refused,  // not a regular file, or larger than kMaxFileSize: an empty profile, and
                  // save() will not write over the file
    };
    // Reads the file again, replacing what is held. Never fails: a missing or unreadable file
    // gives an empty profile.
    LoadResult load();
    bool refused() const { return m_refused; }
    // Writes everything held with the data files' crash-safe writer (a new temporary file,
    // flushed, renamed over the old one). Throws SettingsWriteError when the file cannot be
    // written (a read-only file, a missing folder, a full disk, a file load() refused); the
    // file on disk is then unchanged.
    void save() const;
    // The file layer save() writes through (the real one unless a test passes another).
    void set_file_system(FileSystem* files) { m_files = files; }

    // Parses profile text (used by load(); public for tests and fuzzing).
    void parse(std::string_view text);
    // The file's text as save() writes it.
    std::string text() const;

    bool has_section(std::string_view section) const;
    bool has_key(std::string_view section, std::string_view key) const;
    // The trimmed value, or nullopt when the section or key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Typed reads: a missing key, or text that is not a number, gives `def`.
    std::string read_string(std::string_view section, std::string_view key,
                            std::string_view def) const;
    long read_int(std::string_view section, std::string_view key, long def) const;
    // Any non-zero number is true.
    bool read_bool(std::string_view section, std::string_view key, bool def) const;

    // Sets a value in memory (created at the end of its section, the section at the end of
    // the file when new). Line breaks in names and values become spaces, so no value can
    // add lines of its own to the file.
    void write_string(std::string_view section, std::string_view key, std::string_view value);
    void write_int(std::string_view section, std::string_view key, long value);
    void write_bool(std::string_view section, std::string_view key, bool value);

    // Section names in file order, and the keys of one section in file order.
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;

    bool operator==(const IniFile& other) const {
        return m_path == other.m_path && m_sections == other.m_sections && m_crlf == other.m_crlf;
    }

private:
    struct Line {
        std::string key;  // empty for a line kept as it stands
        std::string value;
        std::string raw;  // the line itself when `key` is empty
        bool operator==(const Line&) const = default;
    };
    struct Section {
        std::string name;  // empty for the lines before the first section
        bool headed = false;
        std::vector<Line> lines;
        bool operator==(const Section&) const = default;
    };

    const Section* find_section(std::string_view name) const;
    Section* find_section(std::string_view name);

    std::string m_path;
    std::vector<Section> m_sections;
    bool m_crlf = false;  // lines end in CR LF (a file made on Windows keeps its line ends)
    bool m_refused = false;
    FileSystem* m_files = nullptr;
};

// Parses a whole decimal number with an optional sign ("$1F" and "0x1F" hexadecimal are also
// accepted); nullopt for anything else or a value outside 32 bits.
std::optional<long> parse_profile_int(std::string_view text);

}  // namespace zt
