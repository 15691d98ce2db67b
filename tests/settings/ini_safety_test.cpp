// The settings file on a full disk and as a hostile file: the old file is never replaced by
// less, and a file too large or not a file is neither read whole nor written over.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "storage/file_system.h"
#include "storage/ini_file.h"
#include "temp_folder.h"

namespace zt {
namespace {

using test::read_bytes;
using test::TempFolder;
using test::write_bytes;

const std::string kOriginal = "[WM]\nW=640\n[GG]\nCSP=1\n";

// Every write reports a full disk, as the flush of a buffered writer would learn too late.
class FullDisk final : public FileSystem {
public:
    ssize_t write(int, const char*, std::size_t) override {
        errno = ENOSPC;
        return -1;
    }
};

TEST(SettingsFile, AFullDiskKeepsTheOldFileAndSaysSo) {
    TempFolder dir;
    const std::string path = dir.file("settings.ini");
    write_bytes(path, kOriginal);
    IniFile ini(path);
    FullDisk full;
    ini.set_file_system(&full);
    ini.write_int("WM", "W", 800);
    EXPECT_THROW(ini.save(), SettingsWriteError);
    EXPECT_EQ(read_bytes(path), kOriginal);
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

// The same on a real full file system: a small tmpfs filled to the last page. Runs in a child
// with a mount namespace of its own; skipped where no tmpfs can be mounted.
TEST(SettingsFile, ARealFullFileSystemKeepsTheOldFile) {
    TempFolder dir;
    const std::string mount_point = dir.file("small");
    std::filesystem::create_directory(mount_point);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) _exit(77);
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        if (mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=64k") != 0) _exit(77);
        const std::string path = mount_point + "/settings.ini";
        write_bytes(path, kOriginal);
        {
            std::ofstream filler(mount_point + "/filler", std::ios::binary);
            const std::string block(4096, 'x');
            for (int i = 0; i < 64 && filler; ++i) filler << block << std::flush;
        }
        IniFile ini(path);
        ini.write_string("GG", "NOTE", std::string(6000, 'y'));
        bool refused = false;
        try {
            ini.save();
        } catch (const SettingsWriteError&) {
            refused = true;
        }
        const bool kept = read_bytes(path) == kOriginal;
        const bool clean = !std::filesystem::exists(path + ".new");
        umount(mount_point.c_str());
        _exit(refused && kept && clean ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the full file system lost or changed the old file";
}

// A file beyond the size limit, or something other than a file, gives the defaults and is
// never written over.
TEST(SettingsFile, OversizedOrOddFilesAreLeftAlone) {
    TempFolder dir;
    const std::string big = dir.file("big.ini");
    write_bytes(big, "[WM]\nW=640\n");
    std::filesystem::resize_file(big, IniFile::kMaxFileSize + 1);  // sparse, cheap
    const std::string folder = dir.file("folder.ini");
    std::filesystem::create_directory(folder);
    const std::string fifo = dir.file("fifo.ini");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {big, folder, fifo}) {
        IniFile ini;
        ini.set_path(path);
        EXPECT_EQ(ini.load(), IniFile::LoadResult::refused) << path;
        EXPECT_TRUE(ini.sections().empty() || ini.keys("WM").empty()) << path;
        ini.write_int("WM", "W", 800);
        EXPECT_THROW(ini.save(), SettingsWriteError) << path;
    }
    EXPECT_EQ(std::filesystem::file_size(big), IniFile::kMaxFileSize + 1);
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    // At the limit the file is still read.
    const std::string edge = dir.file("edge.ini");
    write_bytes(edge, "[WM]\nW=640\n" + std::string(IniFile::kMaxFileSize - 11, ';'));
    IniFile ini;
    ini.set_path(edge);
    EXPECT_EQ(ini.load(), IniFile::LoadResult::ok);
    EXPECT_EQ(ini.read_int("WM", "W", 0), 640);
}

}  // namespace
}  // namespace zt
