#include "ui/header_captions.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>

namespace zt {

int caption_width(const QHeaderView& header, int section) {
    const QAbstractItemModel* model = header.model();
    if (!model) return 0;
    const QString caption =
        model->headerData(section, header.orientation(), Qt::DisplayRole).toString();
    if (caption.isEmpty()) return 0;
    // The style's margin on both sides of the text and a pixel for the section's line.
    const int margin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    return header.fontMetrics().horizontalAdvance(caption) + 2 * margin + 2;
}

void set_width_fitting_caption(QHeaderView& header, int section, int width) {
    header.resizeSection(section, std::max(width, caption_width(header, section)));
}

}  // namespace zt
