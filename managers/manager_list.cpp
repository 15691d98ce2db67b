#include "managers/manager_list.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include "storage/settings.h"
#include "ui/cp_text.h"
#include "ui/row_painter.h"

namespace zt {

namespace {
// A dragged row: the list it comes from and its row.
const QString kRowMime = QStringLiteral("application/x-zorvan-manager-row");
}  // namespace

ManagerRowsModel::ManagerRowsModel(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), m_headers(std::move(headers)) {}

void ManagerRowsModel::set_header(int column, const QString& text) {
    if (column < 0 || column >= m_headers.size()) return;
    m_headers[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ManagerRowsModel::reset() {
    beginResetModel();
    endResetModel();
}

void ManagerRowsModel::redraw() {
    if (count() > 0) emit dataChanged(index(0, 0), index(count() - 1, columnCount() - 1));
}

int ManagerRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int ManagerRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant ManagerRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) return {};
    if (role == row_roles::Selected)
        return m_selection && m_selection->isRowSelected(index.row(), index.parent());
    if (role == Qt::EditRole) return index.column() == 0 ? edit_text(index.row()) : QVariant();
    return cell(index.row(), index.column(), role);
}

bool ManagerRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !m_renamer || !index.isValid() || index.column() != 0) return false;
    m_renamer(index.row(), value.toString());
    emit dataChanged(index, index.siblingAtColumn(columnCount() - 1));
    return true;
}

QVariant ManagerRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headers.size()) return {};
    // A caption stands where its column's cells stand (left unless centred).
    if (role == Qt::TextAlignmentRole) {
        const QVariant a = count() > 0 ? cell(0, section, role) : QVariant();
        return a.isValid() ? a : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole) return {};
    return m_headers[section];
}

Qt::ItemFlags ManagerRowsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    if (m_mover) f |= Qt::ItemIsDragEnabled;
    if (m_renamer && index.column() == 0) f |= Qt::ItemIsEditable;
    return f;
}

bool ManagerRowsModel::moveRows(const QModelIndex& source_parent, int source_row, int count_,
                                const QModelIndex& destination_parent, int destination_child) {
    const int rows = count();
    if (!m_mover || source_parent.isValid() || destination_parent.isValid() || count_ != 1 ||
        source_row < 0 || source_row >= rows || destination_child < 0 || destination_child > rows)
        return false;
    if (!beginMoveRows({}, source_row, source_row, {}, destination_child)) return false;
    const int to = destination_child > source_row ? destination_child - 1 : destination_child;
    m_mover(source_row, to);
    endMoveRows();
    return true;
}

ManagerListView::ManagerListView(const QString& accessible_name, QWidget* parent)
    : RowTableView(parent) {
    setAccessibleName(accessible_name);
    m_painter = new RowPainter(this);
    setItemDelegate(m_painter);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setDropIndicatorShown(true);
}

void ManagerListView::set_rows(ManagerRowsModel* model) {
    m_rows = model;
    setModel(model);
    model->set_selection(selectionModel());
}

void ManagerListView::set_movable(bool on) {
    setDragEnabled(on);
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
    setDragDropMode(on ? QAbstractItemView::DragDrop : QAbstractItemView::NoDragDrop);
}

void ManagerListView::apply_settings(const Settings& settings, bool images) {
    const ViewSettings& v = settings.view;
    QFont f = font();
    if (!v.font_name.empty()) f.setFamily(from_cp(v.font_name));
    f.setPointSize(std::max(v.font_size, 1));
    f.setBold(v.font_bold);
    f.setItalic(v.font_italic);
    setFont(f);
    const RowColours colours = row_colours(v);
    m_painter->set_colours(colours);
    m_painter->set_image_width(images ? 16 : 0);
    setShowGrid(settings.general.table_grid);
    verticalHeader()->setDefaultSectionSize(std::max(QFontMetrics(f).height() + 4, 18));
    QPalette p = palette();
    p.setColor(QPalette::Base, colours.back);
    p.setColor(QPalette::Text, colours.text);
    setPalette(p);
    viewport()->update();
}

std::vector<int> ManagerListView::selected_rows() const {
    std::vector<int> rows;
    if (!selectionModel()) return rows;
    for (const QModelIndex& i : selectionModel()->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int ManagerListView::focused_row() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void ManagerListView::select_only(int row) {
    if (!model() || row < 0 || row >= model()->rowCount()) return;
    const QModelIndex i = model()->index(row, 0);
    selectionModel()->setCurrentIndex(
        i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(i);
}

void ManagerListView::invert_selection() {
    if (!model() || model()->rowCount() == 0) return;
    const QItemSelection all(model()->index(0, 0),
                             model()->index(model()->rowCount() - 1, model()->columnCount() - 1));
    selectionModel()->select(all, QItemSelectionModel::Toggle);
}

void ManagerListView::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->key() == Qt::Key_Delete && state() != EditingState) {
        emit delete_pressed();
    } else if (event->key() == Qt::Key_Insert) {
        emit insert_pressed();
    } else if (ctrl && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        emit move_pressed(event->key() == Qt::Key_Up ? -1 : 1);
    } else {
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ManagerListView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("Пометить все"), this, [this] { selectAll(); });
    menu.addAction(QStringLiteral("Инверсия"), this, [this] { invert_selection(); });
    menu.addAction(QStringLiteral("Снять со всех"), this, [this] { clearSelection(); });
    menu.exec(event->globalPos());
}

QMimeData* ManagerListView::drag_data(int row) const {
    auto* mime = new QMimeData;
    mime->setData(kRowMime, QByteArray::number(quintptr(this)) + ':' + QByteArray::number(row));
    return mime;
}

bool ManagerListView::accepts(const QMimeData* mime) const {
    if (!mime || !dragEnabled()) return false;
    const QList<QByteArray> parts = mime->data(kRowMime).split(':');
    return parts.size() == 2 && parts[0] == QByteArray::number(quintptr(this));
}

bool ManagerListView::drop(const QMimeData* mime, const QPoint& pos) {
    if (!accepts(mime) || !m_rows) return false;
    bool ok = false;
    const int from = mime->data(kRowMime).split(':')[1].toInt(&ok);
    const int to = indexAt(pos).row();
    if (!ok || to < 0 || from < 0 || from >= m_rows->rowCount()) return false;
    if (from != to) m_rows->moveRows({}, from, 1, {}, to > from ? to + 1 : to);
    select_only(to);
    return true;
}

void ManagerListView::startDrag(Qt::DropActions) {
    const int row = focused_row();
    if (row < 0) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(drag_data(row));
    drag->exec(Qt::MoveAction);
}

void ManagerListView::dragEnterEvent(QDragEnterEvent* event) {
    if (accepts(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ManagerListView::dragMoveEvent(QDragMoveEvent* event) {
    if (accepts(event->mimeData()) && indexAt(event->position().toPoint()).isValid())
        event->acceptProposedAction();
    else
        event->ignore();
}

void ManagerListView::dropEvent(QDropEvent* event) {
    if (drop(event->mimeData(), event->position().toPoint()))
        event->acceptProposedAction();
    else
        event->ignore();
}

}  // namespace zt
