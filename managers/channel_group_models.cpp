#include "managers/channel_group_models.h"

#include <QPixmap>

#include "core/store.h"
#include "core/text_helpers.h"
#include "ui/cp_text.h"
#include "ui/image_lists.h"
#include "ui/row_painter.h"

namespace zt {

namespace {

QVariant centred(int role) {
    return role == Qt::TextAlignmentRole ? QVariant(int(Qt::AlignHCenter | Qt::AlignVCenter))
                                         : QVariant();
}

QString one_line(const std::string& descr) {
    return from_cp(plain_descr(descr));
}

}  // namespace

GroupRowsModel::GroupRowsModel(all_list& store, QObject* parent)
    : ManagerRowsModel(
          {QStringLiteral("Группы (0)"), QStringLiteral("Каналов"), QStringLiteral("Описание")},
          parent),
      m_store(store) {}

void GroupRowsModel::update_caption() {
    set_header(0, QStringLiteral("Группы (%1)").arg(m_store.chl_groups.size()));
}

int GroupRowsModel::count() const {
    return int(m_store.chl_groups.size());
}

QVariant GroupRowsModel::cell(int row, int column, int role) const {
    const chl_group_list& g = *m_store.chl_groups[std::size_t(row)];
    if (role == row_roles::HasImage) return !g.members.empty();
    if (column == 0 && role == Qt::DecorationRole)
        return g.members.empty() ? QVariant() : QVariant(type_icon(1, 16));
    if (column == 1 && role == Qt::TextAlignmentRole) return centred(role);
    if (role != Qt::DisplayRole) return {};
    switch (column) {
        case 0:
            return from_cp(g.name);
        case 1:
            return QString::number(g.members.size());
        case 2:
            return one_line(g.descr);
    }
    return {};
}

ChannelRowsModel::ChannelRowsModel(QStringList headers, all_list& store, const LogoImages& logos,
                                   QObject* parent)
    : ManagerRowsModel(std::move(headers), parent), m_store(store), m_logos(logos) {}

QVariant ChannelRowsModel::logo(int index) const {
    if (!m_show_logos) return {};
    const QPixmap* p = m_logos.logo(index, 16);
    return p ? QVariant(*p) : QVariant();
}

AvailableRowsModel::AvailableRowsModel(all_list& store, const LogoImages& logos, QObject* parent)
    : ChannelRowsModel({QStringLiteral("Доступные каналы (0)"), QStringLiteral("В группах"),
                        QStringLiteral("ID"), QStringLiteral("Описание")},
                       store, logos, parent) {}

void AvailableRowsModel::update_caption() {
    set_header(0, QStringLiteral("Доступные каналы (%1)").arg(m_store.channels.size()));
}

int AvailableRowsModel::count() const {
    return int(m_store.channels.size());
}

QVariant AvailableRowsModel::cell(int row, int column, int role) const {
    const chl_serv_list& c = *m_store.channels[std::size_t(row)];
    if (role == row_roles::HasImage) return c.group_count > 0;
    if (column == 0 && role == Qt::DecorationRole)
        return c.group_count > 0 ? logo(c.logo) : QVariant();
    if ((column == 1 || column == 2) && role == Qt::TextAlignmentRole) return centred(role);
    if (role != Qt::DisplayRole) return {};
    switch (column) {
        case 0:
            return from_cp(c.name);
        case 1:
            return QString::number(c.group_count);
        case 2:
            return QString::number(c.id);
        case 3:
            return one_line(c.descr);
    }
    return {};
}

MemberRowsModel::MemberRowsModel(all_list& store, const LogoImages& logos, QObject* parent)
    : ChannelRowsModel({QStringLiteral("Каналы в группе"), QStringLiteral("Время"),
                        QStringLiteral("Кнопка"), QStringLiteral("ID"), QStringLiteral("Описание")},
                       store, logos, parent) {}

chl_group_list* MemberRowsModel::group() const {
    const std::int32_t cur = m_store.cur_group;
    if (cur < 0 || std::size_t(cur) >= m_store.chl_groups.size()) return nullptr;
    return m_store.chl_groups[std::size_t(cur)].get();
}

int MemberRowsModel::count() const {
    const chl_group_list* g = group();
    return g ? int(g->members.size()) : 0;
}

QVariant MemberRowsModel::cell(int row, int column, int role) const {
    const chl_group_list* g = group();
    if (!g || std::size_t(row) >= g->members.size()) return {};
    const chl_local_list& m = *g->members[std::size_t(row)];
    if (role == row_roles::HasImage) return true;
    if (column == 0 && role == Qt::DecorationRole) return logo(m.logo);
    if (column >= 1 && column <= 3 && role == Qt::TextAlignmentRole) return centred(role);
    if (role != Qt::DisplayRole) return {};
    switch (column) {
        case 0:
            return from_cp(m.name);
        case 1:
            return from_cp(m.shift_text);
        case 2:
            return from_cp(m.button);
        case 3:
            return QString::number(m.chl_id);
        case 4:
            return one_line(m.descr);
    }
    return {};
}

}  // namespace zt
