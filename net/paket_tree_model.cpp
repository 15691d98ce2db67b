#include "net/paket_tree_model.h"

#include "core/cp1251.h"

namespace zt::net {

PaketTreeModel::PaketTreeModel(const SelectionLists& lists, QObject* parent)
    : QAbstractItemModel(parent), m_lists(lists) {
    rebuild();
}

void PaketTreeModel::rebuild() {
    beginResetModel();
    const auto& pakets = m_lists.update_pakets;
    m_children.assign(pakets.size() + 1, {});
    m_row.assign(pakets.size(), 0);
    for (std::size_t i = 0; i < pakets.size(); ++i) {
        const int parent = pakets[i]->parent_node;
        const std::size_t node =
            parent >= 0 && std::size_t(parent) < i ? std::size_t(parent) + 1 : 0;
        m_row[i] = int(m_children[node].size());
        m_children[node].push_back(int(i));
    }
    endResetModel();
}

int PaketTreeModel::paket_at(const QModelIndex& index) const {
    return index.isValid() ? int(index.internalId()) : -1;
}

QModelIndex PaketTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const std::size_t node = parent.isValid() ? parent.internalId() + 1 : 0;
    if (column != 0 || row < 0 || node >= m_children.size() ||
        std::size_t(row) >= m_children[node].size())
        return {};
    return createIndex(row, 0, quintptr(m_children[node][std::size_t(row)]));
}

QModelIndex PaketTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    const int p = m_lists.update_pakets[child.internalId()]->parent_node;
    if (p < 0 || quintptr(p) >= child.internalId()) return {};
    return createIndex(m_row[std::size_t(p)], 0, quintptr(p));
}

int PaketTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const std::size_t node = parent.isValid() ? parent.internalId() + 1 : 0;
    return node < m_children.size() ? int(m_children[node].size()) : 0;
}

int PaketTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant PaketTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto& p = *m_lists.update_pakets[index.internalId()];
    if (role == Qt::DisplayRole) return QString::fromStdString(to_utf8(p.name));
    if (role == Qt::UserRole) return int(index.internalId());
    if (role == Qt::UserRole + 1) return p.image;
    return {};
}

}  // namespace zt::net
