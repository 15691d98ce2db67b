#pragma once

#include <QAbstractItemModel>
#include <vector>

#include "net/selection.h"

namespace zt::net {

// The package tree of the selection dialog over the selection lists after BuildPaketTree: a
// node per package under its `parent_node`, children in list order. Display role: the name
// (converted from CP1251); Qt::UserRole: the package's list position; Qt::UserRole + 1: its
// `image` index.
class PaketTreeModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit PaketTreeModel(const SelectionLists& lists, QObject* parent = nullptr);

    // Call after the lists changed (BuildPaketTree, ClearSelection).
    void rebuild();
    // The package of a node (its list position), or -1.
    int paket_at(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const SelectionLists& m_lists;
    // Children (list positions) of each node; entry 0 is the invisible root, node n + 1 is
    // package n.
    std::vector<std::vector<int>> m_children;
    std::vector<int> m_row;  // row of package n under its parent
};

}  // namespace zt::net
