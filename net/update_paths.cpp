#include "net/update_paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace zt::net {

namespace fs = std::filesystem;

namespace {

bool inside(const fs::path& root, const fs::path& p) {
    auto r = root.begin();
    auto i = p.begin();
    for (; r != root.end(); ++r, ++i) {
        if (r->empty()) continue;  // the trailing separator of the root
        if (i == p.end() || *i != *r) return false;
    }
    return true;
}

}  // namespace

namespace {

// `relative` with '/' as its separator, or nothing when it is absolute, names a drive, holds a
// NUL byte or a ".." component.
std::optional<std::string> checked_relative(std::string_view relative) {
    std::string rel(relative);
    for (char& c : rel)
        if (c == '\\') c = '/';
    if (!rel.empty() && rel.front() == '/') return {};
    if (rel.find('\0') != std::string::npos) return {};
    if (rel.size() >= 2 && rel[1] == ':') return {};  // a drive letter
    for (const auto& part : fs::path(rel))
        if (part == "..") return {};
    return rel;
}

}  // namespace

std::optional<std::string> folder_in_program_folder(const std::string& exe_dir,
                                                    std::string_view relative) {
    const auto rel = checked_relative(relative);
    if (!rel) return {};
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(fs::path(exe_dir), ec);
    if (ec) return {};
    // The folder with every link on the way resolved must stay in the program folder.
    const fs::path folder = fs::weakly_canonical(fs::path(exe_dir) / *rel, ec);
    if (ec || !inside(root, folder)) return {};
    return folder.string();
}

std::optional<std::string> path_in_program_folder(const std::string& exe_dir,
                                                  std::string_view relative) {
    const auto rel = checked_relative(relative);
    if (!rel) return {};
    const fs::path path(*rel);
    const fs::path name = path.filename();
    if (name.empty() || name == ".") return {};  // names a folder, not a file
    const auto folder = folder_in_program_folder(exe_dir, path.parent_path().string());
    if (!folder) return {};
    return (fs::path(*folder) / name).string();
}

bool is_plain_name(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

bool write_file_atomic(const std::string& path, std::string_view data, unsigned mode) {
    const fs::path target(path);
    std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX"));
    // mkstemp creates a new file (O_EXCL): a planted name or link is never written through.
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, mode_t(mode)) == 0;
    for (std::size_t done = 0; ok && done < data.size();) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            ok = false;
        else
            done += std::size_t(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    const int dir = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace zt::net
