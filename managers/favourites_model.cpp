#include "managers/favourites_model.h"

#include "core/store.h"
#include "ui/cp_text.h"
#include "ui/row_painter.h"

namespace zt {

LoveModel::LoveModel(const all_list& store, QObject* parent)
    : SelectedRowsModel(parent), m_store(store) {}

void LoveModel::set_channel(std::shared_ptr<chl_serv_list> channel) {
    beginResetModel();
    m_channel = std::move(channel);
    endResetModel();
}

int LoveModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_channel ? 0 : static_cast<int>(m_channel->love.size());
}

int LoveModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant LoveModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    if (!index.isValid() || row >= rowCount()) return {};
    const love_list& entry = *m_channel->love[row];
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == 0) return from_cp(entry.title);
            if (index.column() == 1) return from_cp(m_store.fs_view.formatDate(entry.seen));
            return entry.liked == 1 ? QStringLiteral("Любимая") : QStringLiteral("Не любимая");
        case Qt::TextAlignmentRole:
            return index.column() > 0 ? QVariant(int(Qt::AlignHCenter | Qt::AlignVCenter))
                                      : QVariant();
        case row_roles::Selected:
            return row_selected(row);
        case row_roles::HasImage:
            return true;  // no image and no space for one, in the table background
        default:
            return {};
    }
}

QVariant LoveModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case 0:
            return QStringLiteral("Передачи (%1)").arg(rowCount());
        case 1:
            return QStringLiteral("Сработало");
        case 2:
            return QStringLiteral("Тип");
        default:
            return {};
    }
}

Qt::ItemFlags LoveModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

}  // namespace zt
