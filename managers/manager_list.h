#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <vector>
#include "ui/row_table_view.h"

class QItemSelectionModel;
class QMimeData;

namespace zt {

class RowPainter;
struct Settings;

// The rows of a manager list, read from the store when the view asks (nothing is copied).
// A row is drawn chosen exactly while the view has it selected. Moving rows (buttons, drag
// and drop) goes through moveRows to the mover, renaming in place through the renamer; the
// owner turns both into undoable commands.
class ManagerRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ManagerRowsModel(QStringList headers, QObject* parent = nullptr);

    void set_selection(const QItemSelectionModel* selection) { m_selection = selection; }
    // `from` and `to` are the row's position before and after the move.
    void set_mover(std::function<void(int from, int to)> mover) { m_mover = std::move(mover); }
    void set_renamer(std::function<void(int row, const QString& text)> renamer) {
        m_renamer = std::move(renamer);
    }
    void set_header(int column, const QString& text);
    // The store list changed in size or order: the view starts over.
    void reset();
    // Only values changed: every row is drawn again, the selection stays.
    void redraw();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool moveRows(const QModelIndex& source_parent, int source_row, int count,
                  const QModelIndex& destination_parent, int destination_child) override;

protected:
    virtual int count() const = 0;
    // Display, decoration (column 0: QPixmap), text alignment, row_roles::HasImage.
    virtual QVariant cell(int row, int column, int role) const = 0;
    // Column 0's text for the editor.
    virtual QString edit_text(int row) const { return cell(row, 0, Qt::DisplayRole).toString(); }

private:
    QStringList m_headers;
    const QItemSelectionModel* m_selection = nullptr;
    std::function<void(int, int)> m_mover;
    std::function<void(int, const QString&)> m_renamer;
};

// A report list of the manager: whole rows, grid lines, multiple selection, rows painted by
// the common row painter, the context menu "Пометить все", "Инверсия", "Снять со всех". When
// movable, a row dragged onto a row of the same list moves there; drops from anywhere else
// are refused. Keys: Del, Insert, F2 (rename in place when the model allows), Ctrl+Up/Down.
class ManagerListView final : public RowTableView {
    Q_OBJECT
public:
    ManagerListView(const QString& accessible_name, QWidget* parent = nullptr);

    void set_rows(ManagerRowsModel* model);
    ManagerRowsModel* rows() const { return m_rows; }
    RowPainter& painter() const { return *m_painter; }
    void set_movable(bool on);
    // Font, colours, grid lines and whether rows keep room for a logo.
    void apply_settings(const Settings& settings, bool images);

    std::vector<int> selected_rows() const;  // ascending
    int focused_row() const;                 // -1 when none
    // Selects only `row` and makes it the focused row (nothing for an invalid row).
    void select_only(int row);
    void invert_selection();

    // What a drag from this list carries, and whether a drop of `mime` may land here.
    QMimeData* drag_data(int row) const;
    bool accepts(const QMimeData* mime) const;
    // Drops the row `mime` carries at `pos` (viewport coordinates); false when refused.
    bool drop(const QMimeData* mime, const QPoint& pos);

signals:
    void delete_pressed();
    void insert_pressed();
    void move_pressed(int delta);  // -1 up, +1 down

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    ManagerRowsModel* m_rows = nullptr;
    RowPainter* m_painter = nullptr;
};

}  // namespace zt
