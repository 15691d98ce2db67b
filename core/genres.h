#pragma once

#include <memory>
#include <string>

#include "core/records.h"

namespace zt {

class all_list;

// The built-in catalogue of 63 genres (8 families, each with a family row of sub -1).
constexpr int kGenreCount = 63;
constexpr int kFamilyCount = 8;

// Fills the store's `types` with the catalogue in its fixed order.
void build_types(all_list& store);
type_serv_list& add_type(all_list& store, std::int32_t id, std::int32_t family, std::int32_t sub,
                         std::string name, std::int32_t image);
// id -1 assigns the next id; an empty name becomes "Новая <id>".
std::shared_ptr<type_group_list> add_type_group(all_list& store, std::int32_t id, std::string name);
void add_type_group_member(type_group_list& group, std::int32_t type_id, std::int32_t row);
// How many genre groups contain the genre, as decimal text.
std::string type_group_count(const all_list& store, const type_serv_list& type);
// -1 when no sub-genre of the family passes the filter, 1 when all do, 0 when some do.
int family_filter_state(const all_list& store, std::int32_t family);

}  // namespace zt
