#pragma once

#include <QString>

#include <optional>
#include <string>

namespace zt::server {

// The bytes of the file `name` directly in the folder `dir`: only a regular file reached without
// a link. A link (to anywhere), a FIFO, a device or a folder gives nothing, and opening never
// waits on a FIFO. `name` must be a plain file name (the caller checks).
std::optional<std::string> read_folder_file(const QString& dir, const std::string& name);

}  // namespace zt::server
