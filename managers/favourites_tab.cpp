#include "managers/favourites_tab.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include "core/progress.h"
#include "core/store.h"
#include "managers/favourite_dialog.h"
#include "managers/favourites_model.h"
#include "managers/manager_context.h"
#include "managers/ordered_list_view.h"
#include "managers/tab_parts.h"
#include "storage/settings_store.h"
#include "ui/cp_text.h"
#include "ui/image_lists.h"
#include "ui/row_painter.h"

namespace zt {

using namespace managers;

FavouritesTab::FavouritesTab(ManagerContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("TabSheetLove"));
    m_painter = new RowPainter(this);

    auto* top = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("&Канал:"), this);
    m_box = new QComboBox(this);
    m_box->setObjectName(QStringLiteral("ComboBoxExLoveChannel"));
    m_box->setAccessibleName(QStringLiteral("Канал"));
    m_box->setIconSize(QSize(16, 16));
    m_box->setMinimumWidth(250);
    caption->setBuddy(m_box);
    top->addWidget(caption);
    top->addWidget(m_box);
    top->addStretch(1);

    m_list = new OrderedListView(this);
    m_list->setObjectName(QStringLiteral("ListViewLove"));
    m_list->setAccessibleName(QStringLiteral("Любимые и не любимые передачи"));
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_model = new LoveModel(ctx.store, this);
    m_list->setModel(m_model);
    m_model->set_selection(m_list->selectionModel());
    m_list->setItemDelegate(m_painter);
    m_list->setColumnWidth(0, 370);
    // "Сработало" holds a date with the weekday's full name: room for the longest one.
    m_list->setColumnWidth(1, std::max(120, m_list->fontMetrics().horizontalAdvance(
                                                QStringLiteral("00.00.00 Понедельник")) +
                                                12));
    m_list->setColumnWidth(2, 80);

    m_periods = new QMenu(this);
    m_periods->setObjectName(QStringLiteral("PopupMenuLoveTime"));
    for (const auto& period : love_periods())
        connect(m_periods->addAction(QString::fromUtf8(period.caption)), &QAction::triggered, this,
                [this, days = period.days] { SelectSeenBefore(days); });

    auto* side = new QVBoxLayout;
    struct Button {
        const char* name;
        const char* hint;
        QStyle::StandardPixmap icon;
        std::function<void()> run;
    };
    const Button buttons[] = {
        {"BitBtnLoveY", "Отмеченные в любимые", QStyle::SP_DialogYesButton,
         [this] { SetLiked(1); }},
        {"BitBtnLoveN", "Отмеченные в не любимые", QStyle::SP_DialogNoButton,
         [this] { SetLiked(0); }},
        {"BitBtnLoveTime", "Отметить сработавшие", QStyle::SP_FileDialogInfoView, nullptr},
        {"BitBtnLoveDel", "Удалить отмеченные передачи", QStyle::SP_TrashIcon,
         [this] { DeleteEntries(); }},
        {"BitBtnLoveAdd", "Добавить передачу", QStyle::SP_FileIcon, [this] { AddEntry(); }},
        {"BitBtnLoveEdit", "Изменить передачу", QStyle::SP_FileDialogDetailedView,
         [this] { EditEntry(); }},
        {"BitBtnLoveUp", "Переместить передачу выше", QStyle::SP_ArrowUp,
         [this] { MoveEntry(-1); }},
        {"BitBtnLoveDown", "Переместить передачу ниже", QStyle::SP_ArrowDown,
         [this] { MoveEntry(1); }},
    };
    for (const auto& b : buttons) {
        auto* button = make_command_button(*this, b.name, QString::fromUtf8(b.hint), b.icon);
        side->addWidget(button);
        if (b.run)
            connect(button, &QToolButton::clicked, this, b.run);
        else {
            button->setMenu(m_periods);
            button->setPopupMode(QToolButton::InstantPopup);
        }
    }
    side->addStretch(1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addLayout(middle, 1);

    m_dialog = new FavouriteDialog(this);

    add_list_key(*m_list, QKeySequence(Qt::Key_Insert), [this] { AddEntry(); });
    add_list_key(*m_list, QKeySequence(Qt::Key_Delete), [this] { DeleteEntries(); });
    add_list_key(*m_list, QKeySequence(Qt::Key_F2), [this] { EditEntry(); });
    add_list_key(*m_list, QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { MoveEntry(-1); });
    add_list_key(*m_list, QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { MoveEntry(1); });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { EditEntry(); });
    connect(m_list, &OrderedListView::move_requested, this, [this](int from, int to) {
        if (m_model->channel())
            m_ctx.undo.push(new MoveLoveCommand(*this, m_model->channel(), from, to));
    });
    connect(m_box, &QComboBox::activated, this, &FavouritesTab::ChooseChannel);

    connect(&ctx.settings, &SettingsStore::changed, this, &FavouritesTab::apply_settings);
    apply_settings();
    prepare();
}

FavouritesTab::~FavouritesTab() = default;

void FavouritesTab::apply_settings() {
    apply_list_settings(*m_list, *m_painter, m_ctx.settings.get());
}

void FavouritesTab::prepare() {
    m_model->set_channel(nullptr);
    m_box->clear();
    m_channels.clear();
    for (int index : love_channels(m_ctx.store)) {
        const auto& channel = m_ctx.store.channels[index];
        m_channels.push_back(channel);
        const QPixmap* logo = m_ctx.logos.logo(channel->logo, 16);
        m_box->addItem(logo ? QIcon(*logo) : QIcon(), from_cp(channel->name));
    }
    m_box->setCurrentIndex(-1);
}

int FavouritesTab::current_channel() const {
    const auto& channels = m_ctx.store.channels;
    for (std::size_t i = 0; m_model->channel() && i < channels.size(); ++i)
        if (channels[i] == m_model->channel()) return static_cast<int>(i);
    return -1;
}

void FavouritesTab::ChooseChannel(int item) {
    const bool valid = item >= 0 && static_cast<std::size_t>(item) < m_channels.size();
    if (m_box->currentIndex() != item) m_box->setCurrentIndex(valid ? item : -1);
    m_model->set_channel(valid ? m_channels[item] : nullptr);
}

void FavouritesTab::show_channel(const chl_serv_list& channel, const std::vector<int>& rows) {
    for (std::size_t i = 0; i < m_channels.size(); ++i)
        if (m_channels[i].get() == &channel) {
            ChooseChannel(static_cast<int>(i));
            break;
        }
    m_model->refresh();
    m_list->select_rows(rows);
}

void FavouritesTab::SetLiked(std::uint8_t liked) {
    const auto rows = m_list->selected_rows();
    if (!m_model->channel() || rows.empty()) return;
    m_ctx.undo.push(new SetLoveLikedCommand(*this, m_model->channel(), rows, liked));
}

void FavouritesTab::SelectSeenBefore(int days) {
    if (!m_model->channel()) return;
    m_list->select_rows(rows_seen_before(*m_model->channel(), m_ctx.store.clock().now(), days));
    m_list->setFocus();
}

void FavouritesTab::DeleteEntries() {
    const auto rows = m_list->selected_rows();
    if (!m_model->channel() || rows.empty()) return;
    m_ctx.undo.push(new DeleteLoveCommand(*this, m_model->channel(), rows));
}

bool FavouritesTab::refuse(LoveTitleError error) {
    switch (error) {
        case LoveTitleError::none:
            return false;
        case LoveTitleError::empty:
            m_ctx.ui.show_msg(MsgKind::Error, "Введите название передачи.");
            break;
        case LoveTitleError::duplicate:
            m_ctx.ui.show_msg(MsgKind::Error,
                              "Передача с таким названием уже есть в списке канала.");
            break;
        case LoveTitleError::no_id_left:
            m_ctx.ui.show_msg(MsgKind::Error, kNoIdLeftMessage);
            break;
    }
    return true;
}

void FavouritesTab::AddEntry() {
    const auto channel = m_model->channel();
    if (!channel) return;
    m_dialog->run(true, {}, 1, [&](const std::string& title, std::uint8_t liked) {
        if (refuse(check_love_title(*channel, title, -1))) return false;
        m_ctx.undo.push(
            new AddLoveCommand(*this, channel, title, liked, m_ctx.store.clock().now()));
        return true;
    });
    m_list->setFocus();
}

void FavouritesTab::EditEntry() {
    const auto channel = m_model->channel();
    const QModelIndex current = m_list->currentIndex();
    if (!channel || !current.isValid()) return;
    const int row = current.row();
    const love_list& entry = *channel->love[row];
    m_dialog->run(false, entry.title, entry.liked,
                  [&](const std::string& title, std::uint8_t liked) {
                      if (refuse(check_love_title(*channel, title, row))) return false;
                      if (title != entry.title || liked != entry.liked)
                          m_ctx.undo.push(new EditLoveCommand(*this, channel, row, title, liked));
                      return true;
                  });
    m_list->setFocus();
}

void FavouritesTab::MoveEntry(int delta) {
    m_list->setFocus();
    const auto channel = m_model->channel();
    const QModelIndex current = m_list->currentIndex();
    if (!channel || !current.isValid()) return;
    const int to = current.row() + delta;
    if (to < 0 || to >= m_model->rowCount()) return;
    m_ctx.undo.push(new MoveLoveCommand(*this, channel, current.row(), to));
}

}  // namespace zt
