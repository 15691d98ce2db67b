#pragma once

#include "core/progress.h"
#include "core/store.h"
#include "net/protocol/paket_list.h"
#include "net/selection.h"

namespace zt::net {

// ReadPaketList: the offered channels and packages into the selection lists, their pictures
// into the dialog's image lists. A sub-package without pictures takes the picture of its
// parent when the parent came earlier. Progress per record.
void ReadPaketList(SelectionLists& lists, const protocol::PaketList& list, Progress& progress);

// BuildPaketTree: each package's node under the first earlier package of its parent's id, or
// at the top; `tree_pos` is the list position.
void BuildPaketTree(SelectionLists& lists, Progress& progress);

// ApplySelection: the ticked entries select their channels and packages; new selected channels
// join the store with their logos; with `create_groups` every selected package becomes a
// channel group of its ticked channels. Ends with the default group ensured.
void ApplySelection(all_list& store, SelectionLists& lists, bool create_groups);

}  // namespace zt::net
