#pragma once

#include <QStringList>

#include "core/option_table.h"

namespace zt {

// The items of a drop-down list in their stored order, from the list's one table.
template <class T, std::size_t N>
QStringList option_captions(const OptionTable<T, N>& table) {
    QStringList out;
    out.reserve(int(N));
    for (const Option<T>& item : table.items()) out << QString::fromUtf8(item.caption);
    return out;
}

}  // namespace zt
