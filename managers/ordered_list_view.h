#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include "ui/row_table_view.h"

class QItemSelectionModel;

namespace zt {

// A table model whose rows the common row painter shows "chosen" exactly when the view has
// them selected (the manager's lists mark rows by selecting them).
class SelectedRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void set_selection(QItemSelectionModel* selection) { m_selection = selection; }
    // Every row is read again from the store (after a command changed it).
    void refresh() {
        beginResetModel();
        endResetModel();
    }
    // The rows stay, their texts and ticks are read again.
    void repaint_rows() {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }

protected:
    bool row_selected(int row) const;

private:
    QPointer<QItemSelectionModel> m_selection;
};

// A report list of the manager: whole rows, grid lines, the context menu "Пометить все",
// "Инверсия", "Снять со всех", and rows moved by dragging inside the same list only (a drop
// whose drag did not start in this list is refused). The list changes no row itself: it asks
// for moves and menu commands by signals, and the tab runs the command.
class OrderedListView final : public RowTableView {
    Q_OBJECT
public:
    explicit OrderedListView(QWidget* parent = nullptr);

    // Rows can be dragged to another place in the list (on at first).
    void set_rows_movable(bool on);
    // The three menu items change the selection (default), or are handed to `menu_command`.
    void set_menu_commands(bool on) { m_menu_commands = on; }
    // Rows start with a check box (the row painter's): a press inside it or Space on the
    // focused row asks for a toggle by `check_pressed`.
    void set_check_boxes(bool on) { m_check_boxes = on; }

    // The MIME type that marks a drag as started in a list, with the list's own key as data.
    static QString drag_format();
    QByteArray drag_key() const;

    // A drop at `at` (viewport coordinates): the focused row moves there when the drag started
    // in this list; false (refused) otherwise.
    bool drop_rows(const QMimeData* data, const QPoint& at);

    void select_rows(const std::vector<int>& rows);
    std::vector<int> selected_rows() const;

signals:
    // A row dragged from `from` and dropped on the row at `to` (the last row below the rows).
    void move_requested(int from, int to);
    // 0 "Пометить все", 1 "Инверсия", 2 "Снять со всех" when set_menu_commands is on.
    void menu_command(int kind);
    void check_pressed(int row);

protected:
    void startDrag(Qt::DropActions supported) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool own_drag(const QMimeData* data) const;
    void run_menu(int kind);
    bool m_menu_commands = false;
    bool m_check_boxes = false;
};

}  // namespace zt
