#include "storage/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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

bool FileSystem::sync_dir(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

FileSystem& FileSystem::real() {
    static FileSystem fs;
    return fs;
}

}  // namespace zt
