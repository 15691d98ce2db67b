#include "app/logic/exit_report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/program_files.h"
#include "storage/file_system.h"

namespace zt {

void reserve_exit_report(const std::string& exe_dir) {
    const std::string path = exe_dir + kExitReportSpaceName;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        std::size_t(st.st_size) == kExitReportSpace)
        return;
    // Written out (not a sparse file): its blocks are taken now, while there is room.
    write_new_file(FileSystem::real(), path, std::string(kExitReportSpace, '\n'));
}

namespace {

// Writes `text` and a terminating zero over the start of the reserved room, which needs no
// new blocks, and gives the room the report's name.
bool write_into_room(const std::string& exe_dir, const std::string& text) {
    const std::string room = exe_dir + kExitReportSpaceName;
    const int fd = ::open(room.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok =
        ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && std::size_t(st.st_size) >= kExitReportSpace;
    std::string bytes = text.substr(0, kExitReportSpace - 1);
    bytes.push_back('\0');
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            ok = false;
        else
            done += std::size_t(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok && ::rename(room.c_str(), (exe_dir + kExitReportName).c_str()) == 0;
}

}  // namespace

bool keep_exit_report(const std::string& exe_dir, const std::string& text) {
    return replace_file(FileSystem::real(), exe_dir + kExitReportName, text) ||
           write_into_room(exe_dir, text);
}

std::string take_exit_report(const std::string& exe_dir) {
    const std::string path = exe_dir + kExitReportName;
    std::string text;
    if (FileSystem::real().read_file(path, text) != FileSystem::ReadResult::ok) return {};
    FileSystem::real().remove(path);
    // A report written into the reserved room ends at its zero.
    const auto end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
}

}  // namespace zt
