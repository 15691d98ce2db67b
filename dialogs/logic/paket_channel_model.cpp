#include "dialogs/logic/paket_channel_model.h"

#include <QImage>

#include "core/cp1251.h"

namespace zt {

QPixmap selection_picture(const std::string& bmp) {
    if (bmp.empty()) return {};
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bmp.data()), int(bmp.size()), "BMP"))
        return {};
    return QPixmap::fromImage(image);
}

PaketChannelModel::PaketChannelModel(net::SelectionLists& lists, QObject* parent)
    : QAbstractTableModel(parent), m_lists(lists) {}

net::update_paket_list* PaketChannelModel::current() const {
    if (m_paket < 0 || std::size_t(m_paket) >= m_lists.update_pakets.size()) return nullptr;
    return m_lists.update_pakets[std::size_t(m_paket)].get();
}

void PaketChannelModel::set_paket(int paket) {
    beginResetModel();
    m_paket = paket;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void PaketChannelModel::refresh() {
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 2));
}

void PaketChannelModel::reset_lists() {
    beginResetModel();
    m_paket = -1;
    m_logos16.clear();
    m_decoded.clear();
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void PaketChannelModel::toggle(int row) {
    net::update_paket_list* p = current();
    if (!p || row < 0 || std::size_t(row) >= p->channels.size()) return;
    auto& e = p->channels[std::size_t(row)];
    e.ticked = e.ticked ? 0 : 1;
    emit dataChanged(index(row, 0), index(row, 2));
}

QPixmap PaketChannelModel::logo(std::int32_t i, int size) const {
    const auto& list = size >= 32 ? m_lists.channels32 : m_lists.channels16;
    if (i < 0 || std::size_t(i) >= list.size()) return {};
    if (size >= 32) return selection_picture(list[std::size_t(i)]);
    if (m_decoded.size() != list.size()) {
        m_decoded.assign(list.size(), false);
        m_logos16.assign(list.size(), QPixmap());
    }
    if (!m_decoded[std::size_t(i)]) {
        m_logos16[std::size_t(i)] = selection_picture(list[std::size_t(i)]);
        m_decoded[std::size_t(i)] = true;
    }
    return m_logos16[std::size_t(i)];
}

int PaketChannelModel::rowCount(const QModelIndex& parent) const {
    const net::update_paket_list* p = current();
    return parent.isValid() || !p ? 0 : int(p->channels.size());
}

int PaketChannelModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant PaketChannelModel::data(const QModelIndex& index, int role) const {
    const net::update_paket_list* p = current();
    if (!p || !index.isValid() || std::size_t(index.row()) >= p->channels.size()) return {};
    const auto& e = p->channels[std::size_t(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == 0)
                return e.channel ? QString::fromStdString(to_utf8(e.channel->name)) : QString();
            return QString::fromStdString(to_utf8(index.column() == 1 ? e.shift_text : e.button));
        case Qt::DecorationRole:
            if (index.column() == 0 && e.channel) return logo(e.channel->logo, 16);
            return {};
        case Qt::CheckStateRole:
            if (index.column() == 0) return e.ticked ? Qt::Checked : Qt::Unchecked;
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() > 0) return int(Qt::AlignHCenter | Qt::AlignVCenter);
            return {};
        default:
            return {};
    }
}

QVariant PaketChannelModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case 0:
            return QStringLiteral("Каналы в пакете (%1)").arg(rowCount());
        case 1:
            return QStringLiteral("Время");
        case 2:
            return QStringLiteral("Кнопка");
        default:
            return {};
    }
}

Qt::ItemFlags PaketChannelModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace zt
