#pragma once

#include <QString>
#include <string>

namespace zt {

// A path of the store (UTF-8 bytes) as Qt's file classes take it.
inline QString qpath(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace zt
