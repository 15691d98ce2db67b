#include "managers/channel_groups_tab.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include "core/progress.h"
#include "core/store.h"
#include "managers/channel_group_models.h"
#include "managers/group_dialogs.h"
#include "managers/manager_context.h"
#include "managers/manager_list.h"
#include "storage/settings_store.h"
#include "ui/cp_text.h"
#include "ui/header_captions.h"

namespace zt {

namespace {

// The given widths, each widened to its caption. The first caption carries a count that
// grows with the list, so that column is widened again whenever the caption changes (never
// narrowed: a width the user chose that shows the caption stays).
void set_widths(ManagerListView& list, std::initializer_list<int> widths) {
    QHeaderView& header = *list.horizontalHeader();
    int column = 0;
    for (int w : widths) set_width_fitting_caption(header, column++, w);
    QObject::connect(list.model(), &QAbstractItemModel::headerDataChanged, &list,
                     [&header](Qt::Orientation orientation, int first, int) {
                         if (orientation == Qt::Horizontal && first == 0)
                             set_width_fitting_caption(header, 0, header.sectionSize(0));
                     });
}

bool valid(const all_list& store) {
    return store.cur_group >= 0 && std::size_t(store.cur_group) < store.chl_groups.size();
}

}  // namespace

ChannelGroupsTab::ChannelGroupsTab(ManagerContext& ctx, QWidget* parent)
    : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("TabChannels"));
    m_add = new TFMgrChlGrpAdd(this);
    m_add->setObjectName(QStringLiteral("TFMgrChlGrpAdd"));
    m_edit = new TFMgrChlGrpEdit(this);
    m_edit->setObjectName(QStringLiteral("TFMgrChlGrpEdit"));
    m_member = new TFMgrChlInGrpEdit(this);
    m_member->setObjectName(QStringLiteral("TFMgrChlInGrpEdit"));
    m_time = new TFMgrChlInGrpTime(this);
    m_time->setObjectName(QStringLiteral("TFMgrChlInGrpTime"));
    build();
    connect(&m_ctx.undo, &QUndoStack::indexChanged, this, [this] {
        if (!m_pushing) undone();
    });
    connect(&m_ctx.settings, &SettingsStore::changed, this, &ChannelGroupsTab::apply_settings);
    apply_settings();
}

ChannelGroupsTab::~ChannelGroupsTab() = default;

QToolButton* ChannelGroupsTab::button(QWidget* parent, const char* name, const QString& caption,
                                      const QString& hint, void (ChannelGroupsTab::*command)()) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setAutoRaise(false);
    connect(b, &QToolButton::clicked, this, [this, command] { (this->*command)(); });
    return b;
}

void ChannelGroupsTab::build() {
    auto* outer = new QVBoxLayout(this);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    outer->addWidget(split);

    // Top: the groups.
    auto* top = new QWidget(split);
    top->setMinimumHeight(60);
    auto* top_layout = new QVBoxLayout(top);
    top_layout->setContentsMargins(0, 0, 0, 0);
    ListViewChannelGroup = new ManagerListView(QStringLiteral("Группы каналов"), top);
    ListViewChannelGroup->setObjectName(QStringLiteral("ListViewChannelGroup"));
    m_groups = new GroupRowsModel(m_ctx.store, this);
    ListViewChannelGroup->set_rows(m_groups);
    ListViewChannelGroup->set_movable(true);
    set_widths(*ListViewChannelGroup, {150, 60, 360});
    top_layout->addWidget(ListViewChannelGroup, 1);
    auto* group_row = new QHBoxLayout;
    group_row->addWidget(new QLabel(QStringLiteral("Текущая группа:"), top));
    LabelCurrentGroup = new QLabel(top);
    LabelCurrentGroup->setObjectName(QStringLiteral("LabelCurrentGroup"));
    QFont bold = LabelCurrentGroup->font();
    bold.setBold(true);
    LabelCurrentGroup->setFont(bold);
    group_row->addWidget(LabelCurrentGroup, 1);
    using T = ChannelGroupsTab;
    struct Spec {
        const char* name;
        QString caption;
        QString hint;
        void (T::*command)();
        std::function<bool()> enabled;
    };
    auto add_buttons = [this](QWidget* parent, QBoxLayout* row, std::vector<Spec> specs) {
        for (auto& s : specs) {
            QToolButton* b = button(parent, s.name, s.caption, s.hint, s.command);
            row->addWidget(b);
            m_enabling.emplace_back(b, std::move(s.enabled));
        }
    };
    auto has_group = [this] { return valid(m_ctx.store); };
    auto groups_marked = [this] { return !ListViewChannelGroup->selected_rows().empty(); };
    auto group_focused = [this] { return ListViewChannelGroup->focused_row() >= 0; };
    auto any_group = [this] { return !m_ctx.store.chl_groups.empty(); };
    add_buttons(top, group_row,
                {{"BitBtnGroupAdd", QStringLiteral("Создать"), QStringLiteral("Создать группу"),
                  &T::CreateGroup, [] { return true; }},
                 {"BitBtnGroupEdit", QStringLiteral("Изменить"), QStringLiteral("Изменить группу"),
                  &T::EditGroup, has_group},
                 {"BitBtnGroupCopy", QStringLiteral("Копировать"),
                  QStringLiteral("Копировать группу"), &T::CopyGroup, has_group},
                 {"BitBtnGroupDel", QStringLiteral("Удалить"),
                  QStringLiteral("Удалить отмеченные группы"), &T::DeleteGroups, groups_marked},
                 {"BitBtnGroupUp", QStringLiteral("▲"), QStringLiteral("Переместить группу выше"),
                  &T::MoveGroupUp, group_focused},
                 {"BitBtnGroupDown", QStringLiteral("▼"), QStringLiteral("Переместить группу ниже"),
                  &T::MoveGroupDown, group_focused},
                 {"BitBtnGroupSort", QStringLiteral("А-Я"),
                  QStringLiteral("Сортировать по алфавиту"), &T::SortGroups, any_group}});
    top_layout->addLayout(group_row);

    // Bottom: the delivered channels at the left, the group's members at the right.
    auto* bottom = new QSplitter(Qt::Horizontal, split);
    bottom->setChildrenCollapsible(false);
    auto* left = new QWidget(bottom);
    left->setMinimumWidth(60);
    auto* left_layout = new QVBoxLayout(left);
    left_layout->setContentsMargins(0, 0, 0, 0);
    ListViewChannelAll = new ManagerListView(QStringLiteral("Доступные каналы"), left);
    ListViewChannelAll->setObjectName(QStringLiteral("ListViewChannelAll"));
    m_available = new AvailableRowsModel(m_ctx.store, m_ctx.logos, this);
    ListViewChannelAll->set_rows(m_available);
    set_widths(*ListViewChannelAll, {100, 60, 40});
    left_layout->addWidget(ListViewChannelAll, 1);
    auto* left_row = new QHBoxLayout;
    auto channel_focused = [this] { return ListViewChannelAll->focused_row() >= 0; };
    auto channels_marked = [this] { return !ListViewChannelAll->selected_rows().empty(); };
    auto any_channel = [this] { return !m_ctx.store.channels.empty(); };
    auto can_add = [this] {
        return valid(m_ctx.store) && !ListViewChannelAll->selected_rows().empty();
    };
    add_buttons(
        left, left_row,
        {{"BitBtnChlInfo", QStringLiteral("i"), QStringLiteral("Описание канала"),
          &T::DescribeChannel, channel_focused},
         {"BitBtnChlDel", QStringLiteral("Удалить"), QStringLiteral("Удалить отмеченные каналы"),
          &T::DeleteChannels, channels_marked},
         {"BitBtnChlSortId", QStringLiteral("ID"), QStringLiteral("Сортировать по ID"),
          &T::SortChannelsById, any_channel},
         {"BitBtnChlSort", QStringLiteral("А-Я"), QStringLiteral("Сортировать по алфавиту"),
          &T::SortChannelsByName, any_channel},
         {"BitBtnChlAdd", QStringLiteral("В группу ►"),
          QStringLiteral("Добавить отмеченные каналы в группу"), &T::AddChannels, can_add}});
    left_row->addStretch(1);
    left_layout->addLayout(left_row);

    auto* right = new QWidget(bottom);
    right->setMinimumWidth(60);
    auto* right_layout = new QVBoxLayout(right);
    right_layout->setContentsMargins(0, 0, 0, 0);
    ListViewChannelInGroup = new ManagerListView(QStringLiteral("Каналы в группе"), right);
    ListViewChannelInGroup->setObjectName(QStringLiteral("ListViewChannelInGroup"));
    m_members = new MemberRowsModel(m_ctx.store, m_ctx.logos, this);
    ListViewChannelInGroup->set_rows(m_members);
    ListViewChannelInGroup->set_movable(true);
    set_widths(*ListViewChannelInGroup, {115, 50, 55, 40, 40});
    right_layout->addWidget(ListViewChannelInGroup, 1);
    auto* right_row = new QHBoxLayout;
    auto member_focused = [this] { return focused_member() != nullptr; };
    auto members_marked = [this] {
        return valid(m_ctx.store) && !ListViewChannelInGroup->selected_rows().empty();
    };
    auto any_member = [this] { return m_members->group() && !m_members->group()->members.empty(); };
    add_buttons(right, right_row,
                {{"BitBtnMemberInfo", QStringLiteral("i"), QStringLiteral("Описание канала"),
                  &T::DescribeMember, member_focused},
                 {"BitBtnMemberEdit", QStringLiteral("Изменить"), QStringLiteral("Изменить канал"),
                  &T::EditMember, member_focused},
                 {"BitBtnMemberTime", QStringLiteral("Время"),
                  QStringLiteral("Время отмеченных каналов"), &T::ShiftMembers, members_marked},
                 {"BitBtnMemberDel", QStringLiteral("Удалить"),
                  QStringLiteral("Удалить отмеченные каналы"), &T::RemoveMembers, members_marked},
                 {"BitBtnMemberUp", QStringLiteral("▲"), QStringLiteral("Переместить канал выше"),
                  &T::MoveMemberUp, member_focused},
                 {"BitBtnMemberDown", QStringLiteral("▼"), QStringLiteral("Переместить канал ниже"),
                  &T::MoveMemberDown, member_focused},
                 {"BitBtnMemberNumber", QStringLiteral("1-2-3"), QStringLiteral("Пронумеровать"),
                  &T::NumberMembers, any_member},
                 {"BitBtnMemberSortNum", QStringLiteral("По кнопкам"),
                  QStringLiteral("Сортировать по кнопкам"), &T::SortMembersByButton, any_member},
                 {"BitBtnMemberSort", QStringLiteral("А-Я"),
                  QStringLiteral("Сортировать по алфавиту"), &T::SortMembersByName, any_member}});
    right_row->addStretch(1);
    right_layout->addLayout(right_row);

    split->setSizes({161, 400});
    bottom->setSizes({270, 500});

    // Moving rows and renaming in place become commands.
    m_groups->set_mover([this](int from, int to) {
        run(group_commands::move_group(m_ctx.store, std::size_t(from), std::size_t(to)));
    });
    m_groups->set_renamer([this](int row, const QString& text) {
        const group_ptr g = m_ctx.store.chl_groups.at(std::size_t(row));
        run(group_commands::edit_group(m_ctx.store, g, to_cp(text), g->descr));
        show_current();
    });
    m_members->set_mover([this](int from, int to) {
        if (const group_ptr g = current())
            run(group_commands::move_member(m_ctx.store, g, std::size_t(from), std::size_t(to)));
    });
    m_members->set_renamer([this](int row, const QString& text) {
        const group_ptr g = current();
        if (!g || std::size_t(row) >= g->members.size()) return;
        const member_ptr m = g->members[std::size_t(row)];
        member_fields f = fields_of(*m);
        f.name = to_cp(text);
        run(group_commands::edit_member(m_ctx.store, m, f));
    });

    // Selecting a group makes it current; the focus alone (a list that gets the keyboard
    // focus marks its first row) does not.
    auto follow = [this] {
        const QModelIndex index = ListViewChannelGroup->currentIndex();
        if (!index.isValid() ||
            !ListViewChannelGroup->selectionModel()->isRowSelected(index.row(), {}) ||
            index.row() == m_ctx.store.cur_group)
            return;
        m_ctx.store.cur_group = index.row();
        show_current();
    };
    connect(ListViewChannelGroup->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            follow);
    connect(ListViewChannelGroup->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            follow);
    // Every selection change re-enables the buttons.
    for (ManagerListView* list :
         {ListViewChannelGroup, ListViewChannelAll, ListViewChannelInGroup}) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &ChannelGroupsTab::update_buttons);
        connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
                &ChannelGroupsTab::update_buttons);
    }
    connect(ListViewChannelGroup, &ManagerListView::delete_pressed, this, &T::DeleteGroups);
    connect(ListViewChannelGroup, &ManagerListView::insert_pressed, this, &T::CreateGroup);
    connect(ListViewChannelGroup, &ManagerListView::move_pressed, this, &T::MoveGroup);
    connect(ListViewChannelAll, &ManagerListView::delete_pressed, this, &T::DeleteChannels);
    connect(ListViewChannelAll, &ManagerListView::insert_pressed, this, &T::AddChannels);
    connect(ListViewChannelInGroup, &ManagerListView::delete_pressed, this, &T::RemoveMembers);
    connect(ListViewChannelInGroup, &ManagerListView::insert_pressed, this, &T::EditMember);
    connect(ListViewChannelInGroup, &ManagerListView::move_pressed, this, &T::MoveMember);
}

void ChannelGroupsTab::apply_settings() {
    const Settings& s = m_ctx.settings.get();
    const bool logos = s.general.channel_logos;
    ListViewChannelGroup->apply_settings(s, true);
    ListViewChannelAll->apply_settings(s, true);
    ListViewChannelInGroup->apply_settings(s, logos);
    m_available->set_logos(logos);
    m_members->set_logos(logos);
    m_available->redraw();
    m_members->redraw();
}

void ChannelGroupsTab::prepare() {
    m_ctx.store.cur_group = -1;
    m_member->shift().set_zones(m_ctx.store.time_zones);
    m_time->shift().set_zones(m_ctx.store.time_zones);
    apply_settings();
    reset_all();
    ListViewChannelGroup->setFocus();
}

void ChannelGroupsTab::run(group_commands::Command command) {
    m_pushing = true;
    m_ctx.undo.push(command.release());
    m_pushing = false;
}

void ChannelGroupsTab::undone() {
    if (!valid(m_ctx.store)) m_ctx.store.cur_group = -1;
    reset_all();
}

void ChannelGroupsTab::reset_groups() {
    m_groups->reset();
    m_groups->update_caption();
    if (valid(m_ctx.store)) ListViewChannelGroup->select_only(m_ctx.store.cur_group);
    show_current();
}

void ChannelGroupsTab::reset_all() {
    m_available->reset();
    m_available->update_caption();
    reset_groups();
}

void ChannelGroupsTab::show_current() {
    const group_ptr g = current();
    LabelCurrentGroup->setText(g ? from_cp(g->name) : QString());
    m_members->reset();
    update_buttons();
}

void ChannelGroupsTab::update_buttons() {
    for (auto& [b, enabled] : m_enabling) b->setEnabled(enabled());
}

group_ptr ChannelGroupsTab::current() const {
    if (!valid(m_ctx.store)) return nullptr;
    return m_ctx.store.chl_groups[std::size_t(m_ctx.store.cur_group)];
}

member_ptr ChannelGroupsTab::focused_member() const {
    const group_ptr g = current();
    const int row = ListViewChannelInGroup->focused_row();
    if (!g || row < 0 || std::size_t(row) >= g->members.size()) return nullptr;
    return g->members[std::size_t(row)];
}

// --- groups

void ChannelGroupsTab::CreateGroup() {
    std::string name, descr;
    if (!m_add->ask(name, descr)) return;
    const std::size_t before = m_ctx.store.chl_groups.size();
    run(group_commands::create_group(m_ctx.store, name, descr));
    if (m_ctx.store.chl_groups.size() == before) {
        m_ctx.ui.show_msg(MsgKind::Error, kNoIdLeftMessage);
        return;
    }
    m_ctx.store.cur_group = std::int32_t(before);
    reset_groups();
    ListViewChannelGroup->setFocus();
}

void ChannelGroupsTab::EditGroup() {
    const group_ptr g = current();
    if (!g) return;
    std::string name = g->name, descr = g->descr;
    if (!m_edit->ask(name, descr)) return;
    run(group_commands::edit_group(m_ctx.store, g, name, descr));
    m_groups->redraw();
    show_current();
}

void ChannelGroupsTab::CopyGroup() {
    const group_ptr g = current();
    if (!g) return;
    const std::size_t before = m_ctx.store.chl_groups.size();
    run(group_commands::copy_group(m_ctx.store, g));
    if (m_ctx.store.chl_groups.size() == before) {
        m_ctx.ui.show_msg(MsgKind::Error, kNoIdLeftMessage);
        return;
    }
    m_ctx.store.cur_group = std::int32_t(before);
    m_available->redraw();
    reset_groups();
}

void ChannelGroupsTab::DeleteGroups() {
    const std::vector<int> rows = ListViewChannelGroup->selected_rows();
    if (rows.empty() || !m_ctx.ui.show_msg(MsgKind::Question, "Удалить выбранные группы?")) return;
    run(group_commands::delete_groups(m_ctx.store, rows));
    m_available->redraw();
    reset_groups();
}

void ChannelGroupsTab::move_in(ManagerListView& list, int delta) {
    const int row = list.focused_row();
    const int to = row + delta;
    if (row < 0) return;
    if (to >= 0 && to < list.rows()->rowCount())
        list.rows()->moveRows({}, row, 1, {}, delta > 0 ? to + 1 : to);
    if (to >= 0 && to < list.rows()->rowCount()) list.select_only(to);
    list.setFocus();
}

void ChannelGroupsTab::MoveGroup(int delta) {
    move_in(*ListViewChannelGroup, delta);
}

void ChannelGroupsTab::SortGroups() {
    if (m_ctx.store.chl_groups.empty()) return;
    run(group_commands::sort_groups(m_ctx.store));
    reset_groups();
}

// --- members

void ChannelGroupsTab::AddChannels() {
    const group_ptr g = current();
    const std::vector<int> rows = ListViewChannelAll->selected_rows();
    if (!g || rows.empty()) return;
    std::vector<channel_ptr> channels;
    for (int r : rows) channels.push_back(m_ctx.store.channels[std::size_t(r)]);
    run(group_commands::add_channels(m_ctx.store, g, channels));
    m_members->reset();
    ListViewChannelInGroup->select_only(int(g->members.size()) - 1);
    m_groups->redraw();
    m_available->redraw();
    ListViewChannelAll->setFocus();
    update_buttons();
}

void ChannelGroupsTab::EditMember() {
    const member_ptr m = focused_member();
    if (!m) return;
    member_fields fields = fields_of(*m);
    if (!m_member->ask(fields, shift_fields_of(*m))) return;
    run(group_commands::edit_member(m_ctx.store, m, fields));
    m_members->redraw();
}

void ChannelGroupsTab::ShiftMembers() {
    const group_ptr g = current();
    const std::vector<int> rows = ListViewChannelInGroup->selected_rows();
    if (!g || rows.empty()) return;
    std::string text;
    if (!m_time->ask(text)) return;
    std::vector<member_ptr> members;
    for (int r : rows)
        if (std::size_t(r) < g->members.size()) members.push_back(g->members[std::size_t(r)]);
    run(group_commands::set_shift(m_ctx.store, members, text));
    m_members->redraw();
}

void ChannelGroupsTab::RemoveMembers() {
    const group_ptr g = current();
    const std::vector<int> rows = ListViewChannelInGroup->selected_rows();
    if (!g || rows.empty()) return;
    run(group_commands::remove_members(m_ctx.store, g, rows));
    m_members->reset();
    m_available->redraw();
    m_groups->redraw();
    update_buttons();
}

void ChannelGroupsTab::MoveMember(int delta) {
    if (current()) move_in(*ListViewChannelInGroup, delta);
}

void ChannelGroupsTab::NumberMembers() {
    if (const group_ptr g = current()) {
        run(group_commands::number_members(m_ctx.store, g));
        m_members->redraw();
    }
}

void ChannelGroupsTab::SortMembersByButton() {
    if (const group_ptr g = current()) {
        run(group_commands::sort_members_by_button(m_ctx.store, g));
        m_members->reset();
        update_buttons();
    }
}

void ChannelGroupsTab::SortMembersByName() {
    if (const group_ptr g = current()) {
        run(group_commands::sort_members_by_name(m_ctx.store, g));
        m_members->reset();
        update_buttons();
    }
}

void ChannelGroupsTab::DescribeMember() {
    if (const member_ptr m = focused_member(); m && m_ctx.show_channel_info)
        m_ctx.show_channel_info(m->chl, m);
}

// --- delivered channels

void ChannelGroupsTab::DeleteChannels() {
    const std::vector<int> rows = ListViewChannelAll->selected_rows();
    if (rows.empty() || !m_ctx.ui.show_msg(MsgKind::Question, "Удалить выбранные каналы?")) return;
    run(group_commands::delete_channels(m_ctx.store, rows));
    const std::int32_t cur = m_ctx.store.cur_group;
    reset_all();
    m_ctx.store.cur_group = cur;
    ListViewChannelAll->clearSelection();
}

void ChannelGroupsTab::SortChannelsById() {
    if (m_ctx.store.channels.empty()) return;
    run(group_commands::sort_channels_by_id(m_ctx.store));
    m_available->reset();
    update_buttons();
}

void ChannelGroupsTab::SortChannelsByName() {
    if (m_ctx.store.channels.empty()) return;
    run(group_commands::sort_channels_by_name(m_ctx.store));
    m_available->reset();
    update_buttons();
}

void ChannelGroupsTab::DescribeChannel() {
    const int row = ListViewChannelAll->focused_row();
    if (row < 0 || std::size_t(row) >= m_ctx.store.channels.size() || !m_ctx.show_channel_info)
        return;
    m_ctx.show_channel_info(m_ctx.store.channels[std::size_t(row)], nullptr);
}

}  // namespace zt
