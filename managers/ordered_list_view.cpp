#include "managers/ordered_list_view.h"

#include <algorithm>

#include <QAction>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include "ui/row_painter.h"

namespace zt {

bool SelectedRowsModel::row_selected(int row) const {
    return m_selection && m_selection->isRowSelected(row, {});
}

OrderedListView::OrderedListView(QWidget* parent) : RowTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setWordWrap(false);
    setDropIndicatorShown(false);
    setDefaultDropAction(Qt::CopyAction);
    set_rows_movable(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        const QString items[] = {QStringLiteral("Пометить все"), QStringLiteral("Инверсия"),
                                 QStringLiteral("Снять со всех")};
        for (int kind = 0; kind < 3; ++kind)
            connect(menu.addAction(items[kind]), &QAction::triggered, this,
                    [this, kind] { run_menu(kind); });
        menu.exec(viewport()->mapToGlobal(at));
    });
}

void OrderedListView::set_rows_movable(bool on) {
    setDragEnabled(on);
    setAcceptDrops(on);
    // Drops arrive at the viewport, which must take them itself.
    viewport()->setAcceptDrops(on);
    setDragDropMode(on ? QAbstractItemView::DragDrop : QAbstractItemView::NoDragDrop);
}

QString OrderedListView::drag_format() {
    return QStringLiteral("application/x-zorvan-list-rows");
}

QByteArray OrderedListView::drag_key() const {
    return QByteArray::number(reinterpret_cast<quintptr>(this));
}

void OrderedListView::select_rows(const std::vector<int>& rows) {
    auto* sel = selectionModel();
    if (!sel || !model()) return;
    QItemSelection items;
    for (int r : rows)
        if (r >= 0 && r < model()->rowCount())
            items.select(model()->index(r, 0), model()->index(r, model()->columnCount() - 1));
    sel->select(items, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty() && rows.back() >= 0 && rows.back() < model()->rowCount())
        sel->setCurrentIndex(model()->index(rows.back(), 0), QItemSelectionModel::NoUpdate);
}

std::vector<int> OrderedListView::selected_rows() const {
    std::vector<int> rows;
    if (!selectionModel()) return rows;
    for (const QModelIndex& i : selectionModel()->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void OrderedListView::run_menu(int kind) {
    if (m_menu_commands) {
        emit menu_command(kind);
        return;
    }
    if (!model() || !selectionModel()) return;
    if (kind == 0) {
        selectAll();
        return;
    }
    std::vector<int> rows;
    if (kind == 1)
        for (int r = 0; r < model()->rowCount(); ++r)
            if (!selectionModel()->isRowSelected(r, {})) rows.push_back(r);
    const QModelIndex current = currentIndex();
    select_rows(rows);
    if (current.isValid())
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

void OrderedListView::startDrag(Qt::DropActions) {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    auto* data = new QMimeData;
    data->setData(drag_format(), drag_key());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    // Copy: the view must not remove the dragged rows itself; the move is a command.
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

bool OrderedListView::own_drag(const QMimeData* data) const {
    return data && data->data(drag_format()) == drag_key();
}

void OrderedListView::dragEnterEvent(QDragEnterEvent* event) {
    if (own_drag(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void OrderedListView::dragMoveEvent(QDragMoveEvent* event) {
    if (own_drag(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void OrderedListView::dropEvent(QDropEvent* event) {
    if (!drop_rows(event->mimeData(), event->position().toPoint())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

bool OrderedListView::drop_rows(const QMimeData* data, const QPoint& at) {
    if (!own_drag(data) || !model()) return false;
    const int from = currentIndex().row();
    int to = rowAt(at.y());
    if (to < 0) to = model()->rowCount() - 1;
    if (from >= 0 && to >= 0 && from != to) emit move_requested(from, to);
    return true;
}

void OrderedListView::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (!m_check_boxes || event->button() != Qt::LeftButton) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) return;
    const QRect box = RowPainter::check_box_rect(visualRect(index.siblingAtColumn(0)));
    if (box.contains(event->position().toPoint())) emit check_pressed(index.row());
}

void OrderedListView::keyPressEvent(QKeyEvent* event) {
    if (m_check_boxes && event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        currentIndex().isValid()) {
        emit check_pressed(currentIndex().row());
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace zt
