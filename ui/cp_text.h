#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "core/cp1251.h"

namespace zt {

// Store texts are CP1251; widgets take QString. These convert at the widget boundary; a store
// text becomes a QString straight through the code page's table.
inline QString from_cp(std::string_view cp1251) {
    const auto& table = cp1251_utf16_table();
    QString out(qsizetype(cp1251.size()), Qt::Uninitialized);
    QChar* d = out.data();
    for (unsigned char c : cp1251) *d++ = QChar(table[c]);
    return out;
}
inline std::string to_cp(const QString& text) {
    return to_cp1251(text.toStdString());
}

}  // namespace zt
