#include "storage/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace zt {

FileSystem::ReadResult FileSystem::read_file(const std::string& path, std::string& out) {
    // Non-blocking, so a FIFO or device under a data file's name cannot hang the program; only
    // regular files of a sane size are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT ? ReadResult::missing : ReadResult::failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || std::uint64_t(st.st_size) > kMaxReadSize) {
        ::close(fd);
        return ReadResult::failed;
    }
    std::string data;
    data.reserve(std::size_t(st.st_size));
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return ReadResult::failed;
        }
        if (n == 0) break;
        data.append(buf, std::size_t(n));
    }
    ::close(fd);
    out = std::move(data);
    return ReadResult::ok;
}

int FileSystem::create(const std::string& path) {
    // A new file only: a name planted beforehand (a link to another file) is never followed or
    // overwritten.
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
}

ssize_t FileSystem::write(int fd, const char* data, std::size_t size) {
    for (;;) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        return n;
    }
}

bool FileSystem::sync(int fd) {
    return ::fsync(fd) == 0;
}

bool FileSystem::close(int fd) {
    return ::close(fd) == 0;
}

bool FileSystem::link(const std::string& from, const std::string& to) {
    return ::link(from.c_str(), to.c_str()) == 0;
}

bool FileSystem::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool FileSystem::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool FileSystem::exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::int64_t FileSystem::file_size(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? std::int64_t(st.st_size) : -1;
}

bool FileSystem::sync_dir(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool write_all(FileSystem& fs, int fd, std::string_view data) {
    // Several writes for a large file, so the job never hands the kernel one huge buffer.
    constexpr std::size_t kPiece = std::size_t(1) << 20;
    while (!data.empty()) {
        const ssize_t n = fs.write(fd, data.data(), std::min(kPiece, data.size()));
        if (n <= 0) return false;
        data.remove_prefix(std::size_t(n));
    }
    return true;
}

bool write_new_file(FileSystem& fs, const std::string& path, std::string_view data) {
    fs.remove(path);  // a leftover of an interrupted save, or a planted link (not its target)
    const int fd = fs.create(path);
    if (fd < 0) return false;
    const bool written = write_all(fs, fd, data) && fs.sync(fd);
    const bool closed = fs.close(fd);
    if (written && closed) return true;
    fs.remove(path);
    return false;
}

namespace {

// Makes `bak` hold what `path` holds now: a second name for the same file (or a copy where
// the file system has no hard links) made under a temporary name and renamed over `bak`, so
// the previous backup stays until the new one is complete.
void keep_backup(FileSystem& fs, const std::string& path, const std::string& bak) {
    // Nothing to keep, or an empty file (damage: what it held is lost) that would replace a
    // backup holding the user's data by nothing.
    if (!fs.exists(path) || fs.file_size(path) == 0) return;
    const std::string temp = bak + ".new";
    fs.remove(temp);
    bool made = fs.link(path, temp);
    if (!made) {
        std::string old;
        made =
            fs.read_file(path, old) == FileSystem::ReadResult::ok && write_new_file(fs, temp, old);
    }
    if (made && !fs.rename(temp, bak)) fs.remove(temp);
}

std::string folder_of(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

}  // namespace

bool replace_file(FileSystem& fs, const std::string& path, std::string_view data,
                  const std::string& bak) {
    const std::string temp = path + ".new";
    // Until the rename below, `path` is the previous generation, complete.
    if (!write_new_file(fs, temp, data)) return false;
    if (!bak.empty()) keep_backup(fs, path, bak);
    if (!fs.rename(temp, path)) {
        fs.remove(temp);
        return false;
    }
    // Make the new name durable; the data is already on disk under it.
    fs.sync_dir(folder_of(path));
    return true;
}

FileSystem& FileSystem::real() {
    static FileSystem fs;
    return fs;
}

}  // namespace zt
