#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "core/cp1251.h"

namespace zt {

// Store texts are CP1251; widgets take QString. These convert at the widget boundary.
inline QString from_cp(std::string_view cp1251) {
    return QString::fromStdString(to_utf8(cp1251));
}
inline std::string to_cp(const QString& text) {
    return to_cp1251(text.toStdString());
}

}  // namespace zt
