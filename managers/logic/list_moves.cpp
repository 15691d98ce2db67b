#include "managers/logic/list_moves.h"

namespace zt::managers {

std::vector<int> valid_rows(std::vector<int> rows, std::size_t size) {
    std::erase_if(rows, [size](int r) { return r < 0 || static_cast<std::size_t>(r) >= size; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

}  // namespace zt::managers
