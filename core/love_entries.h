#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/records.h"

namespace zt {

// Favourite and disliked titles of a channel and the programmes linked to them. The programme
// lists' "Любимая"/"Не любимая" commands and the favourites manager both change them through
// these operations, so the two always agree. A programme is only ever linked to an entry of its
// own channel.

// One programme whose link changed, with the entry it referred to before (null: none).
struct LoveLink final {
    std::shared_ptr<tvprog_serv_list> prog;
    std::shared_ptr<love_list> before;
};

// Appends a new entry with the channel's next id; null, with nothing changed, when no id is left.
std::shared_ptr<love_list> new_love_entry(chl_serv_list& channel, std::string title,
                                          std::uint8_t liked, DateTime seen);

// Links every programme of the channel whose title equals the entry's title ignoring letter case
// to the entry (`only_unlinked`: only programmes without an entry). Returns the changed links.
std::vector<LoveLink> link_love_title(chl_serv_list& channel,
                                      const std::shared_ptr<love_list>& entry, bool only_unlinked);

// Every programme of the channel that refers to the entry loses the link. Returns the changes.
std::vector<LoveLink> unlink_love_entry(chl_serv_list& channel, const love_list& entry);

// Puts the links back as they were before the changes were made (latest change undone first).
void restore_love_links(const std::vector<LoveLink>& changes);

// An entry taken out of its channel's list: where it stood and the links it lost.
struct DroppedLove final {
    std::size_t position = 0;
    std::shared_ptr<love_list> entry;
    std::vector<LoveLink> links;
};

// Unlinks the entry from every programme of the channel and takes it out of the channel's list
// (by value: the caller may pass a programme's own link, which this clears).
DroppedLove drop_love_entry(chl_serv_list& channel, std::shared_ptr<love_list> entry);
// The inverse: the entry back at its position, its programmes linked again.
void undrop_love_entry(chl_serv_list& channel, const DroppedLove& dropped);

}  // namespace zt
