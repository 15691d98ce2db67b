#pragma once

class QHeaderView;

namespace zt {

// The width a header section needs to show its caption whole, in the header's font and style.
int caption_width(const QHeaderView& header, int section);

// Sets a column's width, widened where its caption would be cut.
void set_width_fitting_caption(QHeaderView& header, int section, int width);

}  // namespace zt
