#pragma once

#include <string>
#include <string_view>

namespace zt::server {

// Encodes a picture (BMP or any format QImage reads) as a GIF file image with a fixed palette
// of 216 colours, as the announcements travel. Empty when the bytes are no readable picture.
std::string picture_to_gif(std::string_view image_bytes);

}  // namespace zt::server
