#include "net/selection.h"

namespace zt::net {

std::shared_ptr<update_channel_list> SelectionLists::find_channel(std::int32_t id) const {
    for (const auto& c : update_channels)
        if (c->id == id) return c;
    return nullptr;
}

void SelectionLists::clear() {
    *this = SelectionLists();
}

}  // namespace zt::net
