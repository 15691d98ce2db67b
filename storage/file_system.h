#pragma once

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zt {

// The few file operations the data files need, as a class so tests can make any one of them
// fail (a full disk, a refused rename) and check that nothing is lost. The default
// implementation is plain POSIX; every call returns false or -1 on failure with errno set.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    enum class ReadResult { ok, missing, failed };
    // No data file we write comes near this; anything larger is refused rather than read.
    static constexpr std::uint64_t kMaxReadSize = std::uint64_t(1) << 30;
    // Reads a whole regular file. `missing` when it does not exist; `failed` when it cannot be
    // read, is not a regular file or is larger than kMaxReadSize.
    virtual ReadResult read_file(const std::string& path, std::string& out);

    // Creates a new file for writing; -1 when the name exists (also as a link) or on failure.
    virtual int create(const std::string& path);
    // One write call; returns the bytes written or -1.
    virtual ssize_t write(int fd, const char* data, std::size_t size);
    // Flushes a file's data to the disk.
    virtual bool sync(int fd);
    virtual bool close(int fd);
    // A second name for an existing file.
    virtual bool link(const std::string& from, const std::string& to);
    // Replaces `to` atomically.
    virtual bool rename(const std::string& from, const std::string& to);
    virtual bool remove(const std::string& path);
    virtual bool exists(const std::string& path);
    // The size of a file in bytes; -1 when it does not exist or cannot be examined.
    virtual std::int64_t file_size(const std::string& path);
    // Flushes a folder's entries (a rename in it) to the disk.
    virtual bool sync_dir(const std::string& dir);

    // The process-wide real file system.
    static FileSystem& real();
};

// Writes all of `data` to `fd`; false on an error or a write that makes no progress.
bool write_all(FileSystem& fs, int fd, std::string_view data);

// Writes a complete new file at `path` and flushes it to the disk (whatever was under that name
// goes first, a link without its target); on failure nothing of it remains.
bool write_new_file(FileSystem& fs, const std::string& path, std::string_view data);

// Replaces the file `path` crash-safely with `data`: written to `path.new` (a new file, never
// through a planted link) and flushed, then renamed over `path`. With `bak`, the previous
// generation becomes `bak` first, without a moment where no backup exists (an empty previous
// file holds nothing and never takes the backup's place). False on any
// failure (a full disk included); `path` is then as it was.
bool replace_file(FileSystem& fs, const std::string& path, std::string_view data,
                  const std::string& bak = {});

}  // namespace zt
