#include "managers/genre_groups_models.h"

#include <QPixmap>

#include "core/store.h"
#include "managers/logic/genre_groups.h"
#include "ui/cp_text.h"
#include "ui/image_lists.h"
#include "ui/row_painter.h"

namespace zt {

namespace {

QVariant centred() {
    return int(Qt::AlignHCenter | Qt::AlignVCenter);
}

}  // namespace

TypeAllModel::TypeAllModel(const all_list& store, const std::vector<bool>& ticks, QObject* parent)
    : SelectedRowsModel(parent), m_store(store), m_ticks(ticks) {}

int TypeAllModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_store.types.size());
}

int TypeAllModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant TypeAllModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    if (!index.isValid() || row >= rowCount()) return {};
    const auto& type = *m_store.types[row];
    const bool family = type.sub == -1;
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (index.column() == 0) return from_cp(type.abbr);
            if (index.column() == 1) return from_cp(type.name);
            return QString::fromStdString(managers::in_groups_text(m_store, row));
        case Qt::DecorationRole:
            if (index.column() == 0 && type.image >= 0) return type_icon(type.image, 16);
            return {};
        case Qt::CheckStateRole:
            if (index.column() != 0) return {};
            return static_cast<std::size_t>(row) < m_ticks.size() && m_ticks[row] ? Qt::Checked
                                                                                  : Qt::Unchecked;
        case Qt::TextAlignmentRole:
            return index.column() == 2 ? centred() : QVariant();
        case Qt::AccessibleTextRole:
            return from_cp(type.name);
        case row_roles::Selected:
            return row_selected(row);
        case row_roles::HasImage:
            // Family rows are drawn in "Фон выделения 2", sub-genres in the table background.
            return !family;
        default:
            return {};
    }
}

QVariant TypeAllModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* captions[] = {"Буквенные сокращения", "Типы", "В группах"};
    return section >= 0 && section < 3 ? QString::fromUtf8(captions[section]) : QVariant();
}

Qt::ItemFlags TypeAllModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0) f |= Qt::ItemIsEditable;
    return f;
}

bool TypeAllModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0 || role != Qt::EditRole) return false;
    emit abbr_edited(index.row(), value.toString());
    return true;
}

TypeGroupModel::TypeGroupModel(const all_list& store, QObject* parent)
    : SelectedRowsModel(parent), m_store(store) {}

int TypeGroupModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_store.type_groups.size());
}

int TypeGroupModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant TypeGroupModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    if (!index.isValid() || row >= rowCount()) return {};
    const auto& group = *m_store.type_groups[row];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (index.column() == 0) return from_cp(group.name);
            return QString::number(group.members.size());
        case Qt::DecorationRole:
            if (index.column() == 0 && !group.members.empty()) return type_icon(1, 16);
            return {};
        case Qt::TextAlignmentRole:
            return index.column() == 1 ? centred() : QVariant();
        case row_roles::Selected:
            return row_selected(row);
        case row_roles::HasImage:
            return !group.members.empty();
        default:
            return {};
    }
}

QVariant TypeGroupModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 0) return QStringLiteral("Группы (%1)").arg(rowCount());
    if (section == 1) return QStringLiteral("Типов");
    return {};
}

Qt::ItemFlags TypeGroupModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == 0) f |= Qt::ItemIsEditable;
    return f;
}

bool TypeGroupModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0 || role != Qt::EditRole) return false;
    emit rename_requested(index.row(), value.toString());
    return true;
}

}  // namespace zt
