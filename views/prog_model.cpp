#include "views/prog_model.h"

#include "core/text_helpers.h"
#include "ui/cp_text.h"

namespace zt {
namespace {

// The title line is one line of a table: the description's bold markup and line breaks are
// not shown as characters.
QString cell(const views::ProgramList& list, const views::tvprog_local_list& row, int column) {
    std::string text =
        column == views::col_start ? list.table_start_text(row) : list.cell_text(row, column);
    if (column == views::col_title) text = plain_descr(text);
    return from_cp(text);
}

}  // namespace

ProgramTableModel::ProgramTableModel(views::ProgramList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {}

int ProgramTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_active) return 0;
    return int(m_list.size());
}

int ProgramTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : views::col_count;
}

const views::tvprog_local_list* ProgramTableModel::row(int line) const {
    if (!m_active || m_resetting) return nullptr;
    return m_list.row(line);
}

QVariant ProgramTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() < 0 || index.column() >= views::col_count) return {};
    const views::tvprog_local_list* r = row(index.row());
    if (!r) return {};
    switch (role) {
        case Qt::DisplayRole:
            return cell(m_list, *r, index.column());
        case Qt::ToolTipRole:
            if (index.column() == views::col_title || index.column() == views::col_channel)
                return cell(m_list, *r, index.column());
            return {};
        case program_roles::State: {
            ProgramRowState state;
            state.alarm = r->alarm();
            state.title_fill = r->title_fill();
            state.left_percent = r->left_percent;
            state.text_colour = r->text_colour(page());
            state.logo = r->member ? r->member->logo : -1;
            state.genre_icon = r->genre_icon();
            state.continued = r->continued();
            state.has_anons = r->has_anons();
            return QVariant::fromValue(state);
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::Alignment(views::program_columns()[std::size_t(index.column())].centred
                                  ? Qt::AlignCenter
                                  : Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

QVariant ProgramTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= views::col_count) return {};
    const auto& c = views::program_columns()[std::size_t(section)];
    if (role == Qt::DisplayRole) return QString::fromUtf8(c.caption);
    return {};
}

Qt::ItemFlags ProgramTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ProgramTableModel::begin_rows() {
    beginResetModel();
    m_resetting = true;
}

void ProgramTableModel::end_rows(bool active) {
    m_active = active;
    m_resetting = false;
    endResetModel();
}

void ProgramTableModel::times_changed() {
    if (!m_active || m_list.size() == 0) return;
    emit dataChanged(index(0, 0), index(int(m_list.size()) - 1, views::col_count - 1));
}

}  // namespace zt
