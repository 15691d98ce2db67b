#pragma once

#include <string>

#include "core/store.h"

namespace zt::net {

// An import file made from a store: its channels with their logos, one package per channel
// group (members with their time shift and button label; one package "Все каналы" when there
// is no group), and the programmes of every channel grouped by the day they start.
std::string import_file_of_store(const all_list& store);

}  // namespace zt::net
