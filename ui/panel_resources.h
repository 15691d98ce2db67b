#pragma once

namespace zt {

// Registers the side panels' compiled-in pictures (panels.qrc); safe to call any number of
// times. Calling it links the resource file in, which registers itself at program start, so
// the genre icon list finds the panels' entries whenever it is first loaded.
void init_panel_resources();

}  // namespace zt
