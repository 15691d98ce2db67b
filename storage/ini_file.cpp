#include "storage/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QString>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/cp1251.h"
#include "core/qt_path.h"
#include "storage/file_system.h"

namespace zt {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// A name or value may not break the line it is written on.
std::string one_line(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c == '\n' || c == '\r' || c == '\0') c = ' ';
    }
    return out;
}

// A file marked read-only (no write permission for anyone) counts as read-only even for a
// user the system would let write anyway, as a profile file marked read-only does.
bool is_read_only(const QFileInfo& info) {
    if (!info.exists()) return false;
    if (!info.isWritable()) return true;
    const auto perms = info.permissions();
    return !(perms & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

}  // namespace

SettingsWriteError::SettingsWriteError(const std::string& path, std::string reason)
    : std::runtime_error("Unable to write to " + path), m_path(path), m_reason(std::move(reason)) {}

std::optional<long> parse_profile_int(std::string_view text) {
    std::string_view s = trim(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    unsigned long long magnitude = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    if (base == 16) {
        // Hexadecimal is a 32-bit pattern: $FF00000F is a (negative) system colour.
        if (magnitude > 0xFFFFFFFFull) return std::nullopt;
        long value = long(std::int32_t(std::uint32_t(magnitude)));
        return negative ? -value : value;
    }
    if (negative) {
        if (magnitude > 2147483648ull) return std::nullopt;
        return -static_cast<long>(magnitude);
    }
    if (magnitude > 2147483647ull) return std::nullopt;
    return static_cast<long>(magnitude);
}

IniFile::IniFile(std::string path) : m_path(std::move(path)) {
    load();
}

IniFile::LoadResult IniFile::load() {
    m_sections.clear();
    m_refused = false;
    // Non-blocking, so a FIFO under the file's name cannot hang the start; only a regular file
    // of a sane size is read.
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return LoadResult::ok;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || std::uint64_t(st.st_size) > kMaxFileSize) {
        ::close(fd);
        m_refused = true;
        return LoadResult::refused;
    }
    std::string bytes;
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytes.append(buf, std::size_t(n));
        if (bytes.size() > kMaxFileSize) {  // grew while being read
            ::close(fd);
            m_refused = true;
            return LoadResult::refused;
        }
    }
    ::close(fd);
    parse(bytes);
    return LoadResult::ok;
}

void IniFile::parse(std::string_view text) {
    m_sections.clear();
    m_crlf = false;
    m_sections.push_back(Section{});  // lines before the first section
    // A byte-order mark left by an editor is not part of the first line (blanks around it
    // are dropped with it).
    for (;;) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);
        } else if (!text.empty() && is_blank(text.front())) {
            text.remove_prefix(1);
        } else {
            break;
        }
    }
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') {
            if (m_sections.size() == 1 && m_sections.front().lines.empty()) m_crlf = true;
            while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        }

        const std::string_view t = trim(line);
        if (!t.empty() && t.front() == '[') {
            const std::size_t close = t.find(']');
            if (close != std::string_view::npos) {
                Section s;
                s.name = std::string(trim(t.substr(1, close - 1)));
                s.headed = true;
                m_sections.push_back(std::move(s));
                continue;
            }
        }
        Line l;
        const std::size_t eq = t.find('=');
        if (!t.empty() && t.front() != ';' && eq != std::string_view::npos && eq > 0 &&
            !trim(t.substr(0, eq)).empty()) {
            l.key = std::string(trim(t.substr(0, eq)));
            l.value = std::string(trim(t.substr(eq + 1)));
        } else {
            l.raw = std::string(line);
        }
        m_sections.back().lines.push_back(std::move(l));
    }
    // Blank lines at the end of a section are spacing between sections; they are written
    // back as one blank line between sections. The lines before the first section stay as
    // they are.
    for (Section& s : m_sections) {
        while (s.headed && !s.lines.empty() && s.lines.back().key.empty() &&
               trim(s.lines.back().raw).empty())
            s.lines.pop_back();
    }
    if (m_sections.front().lines.empty()) m_sections.erase(m_sections.begin());
}

std::string IniFile::text() const {
    const char* eol = m_crlf ? "\r\n" : "\n";
    std::string out;
    bool after_section = false;
    for (const Section& s : m_sections) {
        if (s.headed) {
            if (after_section) out += eol;
            out += "[" + s.name + "]";
            out += eol;
        }
        for (const Line& l : s.lines) {
            if (l.key.empty()) {
                out += l.raw;
            } else {
                out += l.key;
                out += '=';
                out += l.value;
            }
            out += eol;
        }
        after_section = s.headed;
    }
    return out;
}

void IniFile::save() const {
    if (m_refused) throw SettingsWriteError(m_path, "the file was too large or not a regular file");
    if (is_read_only(QFileInfo(qpath(m_path))))
        throw SettingsWriteError(m_path, "the file is read-only");
    FileSystem& fs = m_files ? *m_files : FileSystem::real();
    errno = 0;
    if (!replace_file(fs, m_path, text())) {
        const int error = errno;
        throw SettingsWriteError(m_path, error ? std::strerror(error) : "the write failed");
    }
}

const IniFile::Section* IniFile::find_section(std::string_view name) const {
    for (const Section& s : m_sections) {
        if (s.headed && cp1251_iequal(s.name, name)) return &s;
    }
    return nullptr;
}

IniFile::Section* IniFile::find_section(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).find_section(name));
}

bool IniFile::has_section(std::string_view section) const {
    return find_section(trim(section)) != nullptr;
}

bool IniFile::has_key(std::string_view section, std::string_view key) const {
    return value(section, key).has_value();
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const Section* s = find_section(trim(section));
    if (!s) return std::nullopt;
    key = trim(key);
    for (const Line& l : s->lines) {
        if (!l.key.empty() && cp1251_iequal(l.key, key)) return l.value;
    }
    return std::nullopt;
}

std::string IniFile::read_string(std::string_view section, std::string_view key,
                                 std::string_view def) const {
    auto v = value(section, key);
    return v ? std::move(*v) : std::string(def);
}

long IniFile::read_int(std::string_view section, std::string_view key, long def) const {
    const auto v = value(section, key);
    if (!v) return def;
    return parse_profile_int(*v).value_or(def);
}

bool IniFile::read_bool(std::string_view section, std::string_view key, bool def) const {
    const auto v = value(section, key);
    if (!v) return def;
    const auto n = parse_profile_int(*v);
    return n ? *n != 0 : def;
}

void IniFile::write_string(std::string_view section, std::string_view key, std::string_view value) {
    const std::string sec = one_line(trim(section));
    const std::string k = one_line(trim(key));
    if (k.empty()) return;
    Section* s = find_section(sec);
    if (!s) {
        Section fresh;
        fresh.name = sec;
        fresh.headed = true;
        m_sections.push_back(std::move(fresh));
        s = &m_sections.back();
    }
    for (Line& l : s->lines) {
        if (!l.key.empty() && cp1251_iequal(l.key, k)) {
            l.value = one_line(value);
            return;
        }
    }
    Line l;
    l.key = k;
    l.value = one_line(value);
    s->lines.push_back(std::move(l));
}

void IniFile::write_int(std::string_view section, std::string_view key, long value) {
    write_string(section, key, std::to_string(value));
}

void IniFile::write_bool(std::string_view section, std::string_view key, bool value) {
    write_string(section, key, value ? "1" : "0");
}

std::vector<std::string> IniFile::sections() const {
    std::vector<std::string> out;
    for (const Section& s : m_sections) {
        if (s.headed) out.push_back(s.name);
    }
    return out;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    std::vector<std::string> out;
    if (const Section* s = find_section(trim(section))) {
        for (const Line& l : s->lines) {
            if (!l.key.empty()) out.push_back(l.key);
        }
    }
    return out;
}

}  // namespace zt
