#include "server/folder_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace zt::server {

namespace {

struct Fd final {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

std::optional<std::string> read_folder_file(const QString& dir, const std::string& name) {
    const Fd folder{::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (folder.fd < 0) return std::nullopt;
    // O_NOFOLLOW refuses a link as the last (and only) part of the name; O_NONBLOCK keeps the
    // open of a FIFO from waiting for a writer.
    const Fd file{::openat(folder.fd, name.c_str(),
                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::string out;
    out.reserve(std::size_t(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(file.fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return out;
        out.append(buf, std::size_t(n));
    }
}

}  // namespace zt::server
