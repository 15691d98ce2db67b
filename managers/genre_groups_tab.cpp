#include "managers/genre_groups_tab.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <limits>

#include "core/progress.h"
#include "core/store.h"
#include "managers/genre_groups_models.h"
#include "managers/logic/short_text.h"
#include "managers/manager_context.h"
#include "managers/ordered_list_view.h"
#include "managers/tab_parts.h"
#include "managers/text_edit_delegate.h"
#include "storage/settings_store.h"
#include "ui/cp_text.h"
#include "ui/header_captions.h"
#include "ui/row_painter.h"

namespace zt {

using namespace managers;

namespace {

// The abbreviation editor starts after the check box and the genre icon.
constexpr int kAbbrIndent = 16 + 3 + 16 + 3;
constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

bool same_members(const std::vector<type_group_member>& a,
                  const std::vector<type_group_member>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.type_id == y.type_id && x.row == y.row;
    });
}

}  // namespace

GenreGroupsTab::GenreGroupsTab(ManagerContext& ctx, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_ticks(ctx.store.types.size(), false) {
    setObjectName(QStringLiteral("TabSheetTypes"));
    m_genre_painter = new RowPainter(this);
    m_genre_painter->set_check_boxes(true);
    m_genre_painter->set_image_width(16);
    m_group_painter = new RowPainter(this);
    m_group_painter->set_image_width(16);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);

    m_genres = new OrderedListView(splitter);
    m_genres->setObjectName(QStringLiteral("ListViewTypeAll"));
    m_genres->setAccessibleName(QStringLiteral("Типы передач"));
    m_genres->setSelectionMode(QAbstractItemView::SingleSelection);
    m_genres->set_rows_movable(false);
    m_genres->set_check_boxes(true);
    m_genres->set_menu_commands(true);
    m_genres->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_genre_model = new TypeAllModel(ctx.store, m_ticks, this);
    m_genres->setModel(m_genre_model);
    m_genre_model->set_selection(m_genres->selectionModel());
    m_genres->setItemDelegate(
        new TextEditDelegate(*m_genre_painter, kShortTextBytes, kAbbrIndent, this));
    m_genres->setMinimumWidth(60);
    // Columns are widened where their caption would be cut.
    set_width_fitting_caption(*m_genres->horizontalHeader(), 0, 80 + kAbbrIndent);
    set_width_fitting_caption(*m_genres->horizontalHeader(), 1, 150);
    set_width_fitting_caption(*m_genres->horizontalHeader(), 2, 35);

    m_groups = new OrderedListView(splitter);
    m_groups->setObjectName(QStringLiteral("ListViewTypeGroup"));
    m_groups->setAccessibleName(QStringLiteral("Группы типов"));
    m_groups->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_group_model = new TypeGroupModel(ctx.store, this);
    m_groups->setModel(m_group_model);
    m_group_model->set_selection(m_groups->selectionModel());
    m_groups->setItemDelegate(new TextEditDelegate(*m_group_painter, kNoLimit, 16 + 3, this));
    m_groups->setMinimumWidth(60);
    set_width_fitting_caption(*m_groups->horizontalHeader(), 0, 200);
    set_width_fitting_caption(*m_groups->horizontalHeader(), 1, 65);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);

    // The current group and the group commands.
    auto* bottom = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Текущая группа:"), this);
    m_current_label = new QLabel(this);
    m_current_label->setObjectName(QStringLiteral("LabelTypeGroupCurrent"));
    QFont bold = m_current_label->font();
    bold.setBold(true);
    m_current_label->setFont(bold);
    caption->setBuddy(m_groups);
    bottom->addWidget(caption);
    bottom->addWidget(m_current_label, 1);
    struct Button {
        const char* name;
        const char* hint;
        QStyle::StandardPixmap icon;
        void (GenreGroupsTab::*run)();
    };
    const Button buttons[] = {
        {"BitBtnTypeGrpAdd", "Создать группу", QStyle::SP_FileDialogNewFolder,
         &GenreGroupsTab::CreateGroup},
        {"BitBtnTypeGrpEdit", "Изменить группу", QStyle::SP_FileDialogDetailedView,
         &GenreGroupsTab::EditGroup},
        {"BitBtnTypeGrpDel", "Удалить отмеченные группы", QStyle::SP_TrashIcon,
         &GenreGroupsTab::DeleteGroups},
        {"BitBtnTypeGrpUp", "Переместить группу выше", QStyle::SP_ArrowUp, nullptr},
        {"BitBtnTypeGrpDown", "Переместить группу ниже", QStyle::SP_ArrowDown, nullptr},
        {"BitBtnTypeGrpSort", "Сортировать по алфавиту", QStyle::SP_FileDialogListView,
         &GenreGroupsTab::SortGroups},
    };
    for (const auto& b : buttons) {
        auto* button = make_command_button(*this, b.name, QString::fromUtf8(b.hint), b.icon);
        bottom->addWidget(button);
        if (b.run)
            connect(button, &QToolButton::clicked, this, [this, run = b.run] { (this->*run)(); });
    }
    connect(findChild<QToolButton*>(QStringLiteral("BitBtnTypeGrpUp")), &QToolButton::clicked, this,
            [this] { MoveGroup(-1); });
    connect(findChild<QToolButton*>(QStringLiteral("BitBtnTypeGrpDown")), &QToolButton::clicked,
            this, [this] { MoveGroup(1); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);

    // Keys of the group list; F2 edits in place in both lists (the views' own edit key).
    add_list_key(*m_groups, QKeySequence(Qt::Key_Insert), [this] { CreateGroup(); });
    add_list_key(*m_groups, QKeySequence(Qt::Key_Delete), [this] { DeleteGroups(); });
    add_list_key(*m_groups, QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { MoveGroup(-1); });
    add_list_key(*m_groups, QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { MoveGroup(1); });

    connect(m_genres, &OrderedListView::check_pressed, this, &GenreGroupsTab::ToggleGenre);
    connect(m_genres, &QAbstractItemView::doubleClicked, this, [this] { ApplyClickRule(); });
    connect(m_genres, &OrderedListView::menu_command, this, [this](int kind) {
        GenreMenu(kind == 0   ? TickCommand::all
                  : kind == 1 ? TickCommand::invert
                              : TickCommand::none);
    });
    connect(m_genre_model, &TypeAllModel::abbr_edited, this, [this](int row, const QString& text) {
        const auto abbr = cp1251_text(text.toStdString(), kShortTextBytes);
        if (!abbr || row < 0 || static_cast<std::size_t>(row) >= m_ctx.store.types.size()) return;
        if (*abbr == m_ctx.store.types[row]->abbr) return;
        m_ctx.undo.push(new SetTypeAbbrCommand(m_ctx.store, *this, row, *abbr));
    });
    connect(
        m_group_model, &TypeGroupModel::rename_requested, this,
        [this](int row, const QString& text) {
            const auto name = cp1251_text(text.toStdString(), kNoLimit);
            if (!name || row < 0 || static_cast<std::size_t>(row) >= m_ctx.store.type_groups.size())
                return;
            if (*name == m_ctx.store.type_groups[row]->name) return;
            m_ctx.undo.push(new RenameTypeGroupCommand(m_ctx.store, *this, row, *name));
        });
    connect(m_groups, &OrderedListView::move_requested, this, [this](int from, int to) {
        m_ctx.undo.push(new MoveTypeGroupCommand(m_ctx.store, *this, from, to));
    });
    connect(m_groups->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                SelectGroup(current.isValid() ? current.row() : -1);
            });

    connect(&ctx.settings, &SettingsStore::changed, this, &GenreGroupsTab::apply_settings);
    apply_settings();
    prepare();
}

GenreGroupsTab::~GenreGroupsTab() = default;

void GenreGroupsTab::apply_settings() {
    const Settings& s = m_ctx.settings.get();
    apply_list_settings(*m_genres, *m_genre_painter, s);
    apply_list_settings(*m_groups, *m_group_painter, s);
}

void GenreGroupsTab::prepare() {
    m_showing = true;
    m_current = -1;
    m_group_model->refresh();
    m_genre_model->refresh();
    m_groups->clearSelection();
    m_ticks.assign(m_ctx.store.types.size(), false);
    m_showing = false;
    ShowCurrent();
}

void GenreGroupsTab::ShowCurrent() {
    const auto& groups = m_ctx.store.type_groups;
    const bool valid = m_current >= 0 && static_cast<std::size_t>(m_current) < groups.size();
    m_current_label->setText(valid ? from_cp(groups[m_current]->name) : QString());
    m_ticks = group_ticks(m_ctx.store, valid ? groups[m_current].get() : nullptr);
    m_genre_model->repaint_rows();
}

void GenreGroupsTab::SelectGroup(int row) {
    if (m_showing) return;
    m_current = row;
    ShowCurrent();
}

void GenreGroupsTab::show_group(const type_group_list* group) {
    const auto& groups = m_ctx.store.type_groups;
    int row = groups.empty() ? -1 : 0;
    for (std::size_t i = 0; group && i < groups.size(); ++i)
        if (groups[i].get() == group) row = static_cast<int>(i);
    // Reading the rows again closes an in-place editor, which would take the focus along.
    QWidget* focus = QApplication::focusWidget();
    const bool focused = focus && (focus == m_groups || m_groups->isAncestorOf(focus));
    m_showing = true;
    m_group_model->refresh();
    m_groups->select_rows(row >= 0 ? std::vector<int>{row} : std::vector<int>{});
    m_showing = false;
    if (focused) m_groups->setFocus();
    m_current = row;
    ShowCurrent();
}

void GenreGroupsTab::show_genre(int row) {
    if (row >= 0 && row < m_genre_model->rowCount())
        emit m_genre_model->dataChanged(m_genre_model->index(row, 0), m_genre_model->index(row, 2));
}

void GenreGroupsTab::CreateGroup() {
    if (!next_id(m_ctx.store.type_groups)) {
        m_ctx.ui.show_msg(MsgKind::Error, kNoIdLeftMessage);
        return;
    }
    m_ctx.undo.push(new CreateTypeGroupCommand(m_ctx.store, *this));
    m_groups->setFocus();
}

void GenreGroupsTab::EditGroup() {
    const QModelIndex current = m_groups->currentIndex();
    if (!current.isValid()) return;
    m_groups->setFocus();
    m_groups->edit(current.siblingAtColumn(0));
}

void GenreGroupsTab::DeleteGroups() {
    const auto rows = m_groups->selected_rows();
    if (rows.empty()) return;
    if (!m_ctx.ui.show_msg(MsgKind::Question, "Удалить выбранные группы?")) return;
    m_ctx.undo.push(new DeleteTypeGroupsCommand(m_ctx.store, *this, rows));
    m_groups->setFocus();
}

void GenreGroupsTab::MoveGroup(int delta) {
    m_groups->setFocus();
    const QModelIndex current = m_groups->currentIndex();
    if (!current.isValid()) return;
    const int from = current.row();
    const int to = from + delta;
    if (to < 0 || to >= m_group_model->rowCount()) return;
    m_ctx.undo.push(new MoveTypeGroupCommand(m_ctx.store, *this, from, to));
}

void GenreGroupsTab::SortGroups() {
    if (m_ctx.store.type_groups.empty()) return;
    m_ctx.undo.push(new SortTypeGroupsCommand(m_ctx.store, *this));
}

void GenreGroupsTab::ToggleGenre(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_ticks.size()) return;
    m_ticks[row] = !m_ticks[row];
    ApplyClickRule();
}

void GenreGroupsTab::GenreMenu(TickCommand command) {
    apply_tick_command(m_ctx.store, m_ticks, command);
    ApplyClickRule();
}

void GenreGroupsTab::ApplyClickRule() {
    carry_ticks(m_ctx.store, m_ticks);
    const auto& groups = m_ctx.store.type_groups;
    if (m_current >= 0 && static_cast<std::size_t>(m_current) < groups.size()) {
        auto members = ticked_members(m_ctx.store, m_ticks);
        if (!same_members(members, groups[m_current]->members)) {
            m_ctx.undo.push(
                new SetTypeGroupMembersCommand(*this, groups[m_current], std::move(members)));
            return;
        }
    }
    m_genre_model->repaint_rows();
}

}  // namespace zt
