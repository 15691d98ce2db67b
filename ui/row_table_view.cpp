#include "ui/row_table_view.h"

#include <QHeaderView>
#include <QScrollBar>

namespace zt {

RowTableView::RowTableView(QWidget* parent) : QTableView(parent) {
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The lists choose rows, never cells: Tab leaves the list for the next control instead of
    // walking its cells, so the keyboard alone gets through a window.
    setTabKeyNavigation(false);
}

void RowTableView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QScrollBar* across = horizontalScrollBar();
    const int x = across->value();
    QTableView::scrollTo(index, hint);
    across->setValue(x);
}

}  // namespace zt
