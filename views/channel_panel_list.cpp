#include "views/channel_panel_list.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "core/cp1251.h"
#include "core/records.h"
#include "ui/cp_text.h"
#include "ui/image_lists.h"
#include "ui/row_painter.h"
#include "views/logic/channel_choice.h"

namespace zt {

ChannelListModel::ChannelListModel(const ChannelChoice& choice, const LogoImages& logos,
                                   QObject* parent)
    : QAbstractTableModel(parent), m_choice(choice), m_logos(logos) {}

void ChannelListModel::set_count(int count) {
    beginResetModel();
    m_count = std::max(count, 0);
    endResetModel();
}

void ChannelListModel::recount() {
    set_count(int(m_choice.member_count()));
}

void ChannelListModel::refresh() {
    if (m_count > 0) emit dataChanged(index(0, 0), index(m_count - 1, 1));
}

void ChannelListModel::set_logos(bool shown, int size) {
    if (shown == m_show_logos && size == m_size) return;
    beginResetModel();
    m_show_logos = shown;
    m_size = size;
    endResetModel();
}

int ChannelListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_count;
}

int ChannelListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ChannelListModel::data(const QModelIndex& index, int role) const {
    // Nothing without a group or for a row the group does not have (any more).
    const chl_group_list* group = m_choice.current_group();
    if (!group || !index.isValid() || index.row() >= int(group->members.size())) return {};
    const chl_local_list& member = *group->members[std::size_t(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return from_cp(index.column() == 0 ? member.name : member.button);
        case Qt::DecorationRole:
            if (index.column() == 0 && m_show_logos)
                if (const QPixmap* logo = m_logos.logo(member.logo, m_size)) return *logo;
            return {};
        case row_roles::HasImage:
            return m_show_logos && member.logo >= 0;
        case row_roles::Selected:
            return member.selected == 1;
        case Qt::TextAlignmentRole:
            return index.column() == 1 ? int(Qt::AlignHCenter | Qt::AlignVCenter)
                                       : int(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::ToolTipRole:
            return from_cp(channel_button_hint(member));
        default:
            return {};
    }
}

QVariant ChannelListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 0) return QStringLiteral("Канал");
    if (section == 1) return QStringLiteral("Кнопка");
    return {};
}

Qt::ItemFlags ChannelListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled;
}

ChannelListView::ChannelListView(QWidget* parent) : RowTableView(parent) {
    setObjectName(QStringLiteral("ListViewChannels"));
    setSelectionMode(QAbstractItemView::NoSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    // A narrow column shows the start of its heading rather than a clipped middle.
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::StrongFocus);
}

void ChannelListView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        if (at.isValid()) setCurrentIndex(at);
        if (currentIndex().isValid())
            emit describe_requested(currentIndex().row(), event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && at.isValid()) {
        setCurrentIndex(at);
        emit toggle_requested(at.row());
    }
}

void ChannelListView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click toggles again, as every click does.
    mousePressEvent(event);
}

void ChannelListView::keyPressEvent(QKeyEvent* event) {
    // The choice keys act on release; their presses must not start a search or a selection.
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const int key = event->key();
    if (key == Qt::Key_Space || (key == Qt::Key_A && (event->modifiers() & Qt::ControlModifier)) ||
        (keypad && (key == Qt::Key_Plus || key == Qt::Key_Asterisk || key == Qt::Key_Minus ||
                    key == Qt::Key_Slash))) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ChannelListView::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        QTableView::keyReleaseEvent(event);
        return;
    }
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
        case Qt::Key_Space:
            if (currentIndex().isValid()) emit toggle_requested(currentIndex().row());
            return;
        case Qt::Key_A:
            if (ctrl) {
                emit bulk_requested(ChannelChoice::All);
                return;
            }
            break;
        case Qt::Key_Plus:
            if (keypad) {
                emit bulk_requested(ChannelChoice::All);
                return;
            }
            break;
        case Qt::Key_Asterisk:
            if (keypad) {
                emit bulk_requested(ChannelChoice::Invert);
                return;
            }
            break;
        case Qt::Key_Minus:
            if (keypad) {
                emit bulk_requested(ChannelChoice::None);
                return;
            }
            break;
        case Qt::Key_Slash:
            if (keypad) {
                emit flip_requested();
                return;
            }
            break;
        default:
            break;
    }
    QTableView::keyReleaseEvent(event);
}

}  // namespace zt
