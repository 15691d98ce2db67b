#include "views/channel_panel.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

#include "core/cp1251.h"
#include "core/store.h"
#include "core/text_helpers.h"
#include "storage/settings.h"
#include "ui/column_menu.h"
#include "ui/cp_text.h"
#include "ui/header_captions.h"
#include "ui/menu_items.h"
#include "ui/panel_resources.h"
#include "ui/row_painter.h"
#include "views/channel_panel_list.h"
#include "views/logic/channel_choice.h"
#include "views/logic/panel_layout.h"
#include "views/logic/view_state.h"
#include "views/menu_builder.h"
#include "views/panel_view_actions.h"

namespace zt {
namespace {

QAction* add_command(QMenu& menu, const char* name, const QString& caption) {
    QAction* a = menu.addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QToolButton* make_button(QWidget* parent, const char* name, const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setAccessibleName(hint);  // the button shows a picture only
    b->setFocusPolicy(Qt::StrongFocus);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return b;
}

// A popup menu opens under its button (on a click and on Space, which clicks the button).
void attach_popup(QToolButton* button, QMenu* menu) {
    QObject::connect(button, &QToolButton::clicked, menu, [button, menu] {
        menu->popup(button->mapToGlobal(QPoint(0, button->height())));
    });
}

// "Каналов в колонке в верхнем меню:" as a number; unusable text gives the default 20.
int menu_break(const Settings& settings) {
    try {
        const long n = std::stol(int_or_default(settings.personal.menu_break, 20));
        return int(std::clamp(n, long(INT_MIN), long(INT_MAX)));
    } catch (const std::exception&) {
        return 20;
    }
}

}  // namespace

ChannelPanel::ChannelPanel(ViewState& view, Settings& settings, LogoImages& logos, QWidget* parent)
    : PanelBase(view, settings,
                {"ChannelPanel", "MChannels", QStringLiteral("&Каналы"), "MPanelUtilsChannels"},
                settings.channel_panel.detailed, settings.channel_panel.icon_size, parent),
      m_logos(logos) {
    m_channel_menu = std::make_unique<ColumnMenu>(*m_menu, QStringLiteral("MChannelsColumn"));
    setMinimumSize(0, 0);
    build_buttons();

    m_model = new ChannelListModel(m_view.channels, m_logos, this);
    m_painter = new RowPainter(this);
    ListViewChannels = new ChannelListView(this);
    ListViewChannels->setModel(m_model);
    ListViewChannels->setAccessibleName(QStringLiteral("Каналы группы"));
    ListViewChannels->setItemDelegate(m_painter);
    set_column_widths(ChannelPanelSettings{}.columns);
    ListViewChannels->installEventFilter(this);

    ScrollBoxListChl = new QScrollArea(this);
    ScrollBoxListChl->setObjectName(QStringLiteral("ScrollBoxListChl"));
    ScrollBoxListChl->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBoxListChl->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollBoxListChl->setWidgetResizable(false);
    ScrollBoxListChl->setFocusPolicy(Qt::StrongFocus);
    m_grid = new QWidget;
    m_grid->setObjectName(QStringLiteral("ScrollBoxListChlGrid"));
    m_grid->setAutoFillBackground(true);
    ScrollBoxListChl->setWidget(m_grid);
    ScrollBoxListChl->viewport()->installEventFilter(this);
    ScrollBoxListChl->installEventFilter(this);
    ScrollBoxListChl->hide();

    build_menu();
    connect_commands();
    apply_view_settings();
    SetChannelPanelSize(16);
    update_mode_marks();
}

ChannelPanel::~ChannelPanel() = default;

const std::vector<QAction*>& ChannelPanel::channel_items() const {
    return m_channel_menu->items();
}

const std::vector<QMenu*>& ChannelPanel::column_menus() const {
    return m_channel_menu->columns();
}

void ChannelPanel::build_buttons() {
    BitBtnChannelsGroup = make_button(this, "BitBtnChannelsGroup", QStringLiteral("Группы"));
    SpeedButtonSelOnOff = make_button(this, "SpeedButtonSelOnOff", QStringLiteral("Выбор"));
    SpeedButtonSelOnOff->setCheckable(true);
    BitBtnChannelsAll = make_button(this, "BitBtnChannelsAll", QStringLiteral("Все каналы"));

    PopupMenuChannelsGroup = new QMenu(this);
    PopupMenuChannelsGroup->setObjectName(QStringLiteral("PopupMenuChannelsGroup"));
    PopupMenuChannelsAll = new QMenu(this);
    PopupMenuChannelsAll->setObjectName(QStringLiteral("PopupMenuChannelsAll"));
    attach_popup(BitBtnChannelsGroup, PopupMenuChannelsGroup);
    attach_popup(BitBtnChannelsAll, PopupMenuChannelsAll);

    m_group_radio = new QActionGroup(this);
    m_group_radio->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
}

void ChannelPanel::build_menu() {
    QMenu& m = *m_menu;
    MChannelsGroup = m.addMenu(QStringLiteral("Группы"));
    MChannelsGroup->setObjectName(QStringLiteral("MChannelsGroup"));
    MChannelsSelOnOff = m.addMenu(QStringLiteral("Выбор"));
    MChannelsSelOnOff->setObjectName(QStringLiteral("MChannelsSelOnOff"));
    m_mode_radio = new QActionGroup(this);
    MChannelsSelOn =
        add_command(*MChannelsSelOnOff, "MChannelsSelOn", QStringLiteral("Однозначный"));
    MChannelsSelOff =
        add_command(*MChannelsSelOnOff, "MChannelsSelOff", QStringLiteral("Многозначный"));
    for (QAction* a : {MChannelsSelOn, MChannelsSelOff}) {
        a->setCheckable(true);
        m_mode_radio->addAction(a);
    }
    MChannelsSelOn->setChecked(true);
    MChannelsAll = m.addMenu(QStringLiteral("Все каналы"));
    MChannelsAll->setObjectName(QStringLiteral("MChannelsAll"));
    MChannelsAllOn = add_command(*MChannelsAll, "MChannelsAllOn", QStringLiteral("Пометить все"));
    MChannelsAllInv = add_command(*MChannelsAll, "MChannelsAllInv", QStringLiteral("Инверсия"));
    MChannelsAllOff =
        add_command(*MChannelsAll, "MChannelsAllOff", QStringLiteral("Снять со всех"));
    // The popup of "Все каналы" shows the same three commands.
    PopupMenuChannelsAll->addActions({MChannelsAllOn, MChannelsAllInv, MChannelsAllOff});
    m.addSeparator();
}

void ChannelPanel::connect_commands() {
    connect(MChannelsSelOn, &QAction::triggered, this, [this] { SetChoiceMode(true); });
    connect(MChannelsSelOff, &QAction::triggered, this, [this] { SetChoiceMode(false); });
    connect(SpeedButtonSelOnOff, &QToolButton::clicked, this,
            [this](bool down) { SetChoiceMode(!down); });
    const ChannelChoice::Kind kinds[3] = {ChannelChoice::All, ChannelChoice::Invert,
                                          ChannelChoice::None};
    const QAction* menu_items[3] = {MChannelsAllOn, MChannelsAllInv, MChannelsAllOff};
    for (int i = 0; i < 3; ++i) {
        const ChannelChoice::Kind kind = kinds[i];
        connect(menu_items[i], &QAction::triggered, this, [this, kind] { bulk(kind); });
    }

    connect(ListViewChannels, &ChannelListView::toggle_requested, this,
            &ChannelPanel::ToggleChannel);
    connect(ListViewChannels, &ChannelListView::bulk_requested, this,
            [this](int kind) { bulk(ChannelChoice::Kind(kind)); });
    connect(ListViewChannels, &ChannelListView::flip_requested, this,
            [this] { SetChoiceMode(!MChannelsSelOn->isChecked()); });
    connect(ListViewChannels, &ChannelListView::describe_requested, this,
            [this](int row, const QPoint& global) {
                const chl_group_list* g = m_view.channels.current_group();
                if (g && row >= 0 && std::size_t(row) < g->members.size() && m_describe)
                    m_describe(*g->members[std::size_t(row)], global);
            });
}

// --- groups and channels

void ChannelPanel::BuildGroupMenus() {
    for (QAction* a : m_group_items) delete a;
    m_group_items.clear();
    const auto& groups = m_view.store.chl_groups;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const int index = int(i);
        // One item per group, in "Группы" of "Каналы" and in the "Группы" popup.
        auto* item = new QAction(menu_text(groups[i]->name), this);
        item->setCheckable(true);
        item->setChecked(index == m_view.store.cur_group);
        connect(item, &QAction::triggered, this, [this, index] { SelectGroup(index); });
        MChannelsGroup->addAction(item);
        PopupMenuChannelsGroup->addAction(item);
        m_group_radio->addAction(item);
        m_group_items.push_back(item);
    }
}

void ChannelPanel::ClearGroupMenus() {
    for (QAction* a : m_group_items) delete a;
    m_group_items.clear();
    clear_channels();
    m_model->set_count(0);
}

void ChannelPanel::clear_channels() {
    m_channel_menu->clear();
    for (QToolButton* b : m_buttons) {
        b->hide();
        b->setObjectName(QString());
        m_spare.push_back(b);
    }
    m_buttons.clear();
    m_buttons_made = false;
}

void ChannelPanel::SelectGroup(int index, bool rebuild_pages) {
    m_view.channels.select_group(index);
    const int current = m_view.store.cur_group;
    for (std::size_t i = 0; i < m_group_items.size(); ++i)
        m_group_items[i]->setChecked(int(i) == current);

    clear_channels();
    m_model->set_count(0);
    m_logos.refresh(m_view.store);
    if (const chl_group_list* group = m_view.channels.current_group()) {
        m_channel_menu->begin(menu_column_starts(group->members.size(), menu_break(m_settings)));
        for (std::size_t i = 0; i < group->members.size(); ++i)
            add_channel(int(i), *group->members[i]);
        // The compact buttons are made when they are to be seen.
        if (!m_detailed) make_buttons();
        update_marks();
        if (!group->members.empty()) {
            if (!m_detailed) layout_grid(true);
            m_model->recount();
            ListViewChannels->setCurrentIndex(m_model->index(0, 0));
            focus_list();
        }
    }
    if (rebuild_pages) rebuild();
}

void ChannelPanel::add_channel(int index, const chl_local_list& member) {
    QAction* item = m_channel_menu->add(menu_text(channel_menu_caption(member)));
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, index] { ToggleChannel(index); });
}

void ChannelPanel::make_buttons() {
    if (m_buttons_made) return;
    m_buttons_made = true;
    const chl_group_list* group = m_view.channels.current_group();
    if (!group) return;
    for (std::size_t i = 0; i < group->members.size(); ++i) add_button(int(i), *group->members[i]);
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setChecked(group->members[i]->selected == 1);
}

const std::vector<QToolButton*>& ChannelPanel::compact_buttons() {
    make_buttons();
    return m_buttons;
}

void ChannelPanel::add_button(int index, const chl_local_list& member) {
    QToolButton* button = nullptr;
    if (!m_spare.empty()) {
        button = m_spare.back();
        m_spare.pop_back();
        button->setChecked(false);
    } else {
        button = new QToolButton(m_grid);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, button] {
            // The member is found again from the button's name, "SBC" + position.
            ToggleChannel(button->objectName().mid(3).toInt());
        });
        button->installEventFilter(this);
    }
    button->setObjectName(QStringLiteral("SBC%1").arg(index));
    button->setToolTip(from_cp(channel_button_hint(member)));
    const int side = channel_button_side(m_size);
    button->setFixedSize(side, side);
    button->setIconSize(QSize(m_size, m_size));
    if (const QPixmap* logo = m_logos.logo(member.logo, m_size)) {
        button->setIcon(QIcon(*logo));
        button->setText(QString());
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        // No logo: the channel's number, or the start of its name, stands in for it.
        const QString name = from_cp(member.name);
        button->setIcon(QIcon());
        button->setText(member.button.empty() ? name.left(2) : from_cp(member.button));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    button->show();
    m_buttons.push_back(button);
}

// --- the choice

void ChannelPanel::update_marks() {
    const chl_group_list* group = m_view.channels.current_group();
    const std::size_t n = group ? group->members.size() : 0;
    for (std::size_t i = 0; i < n; ++i) {
        const bool on = group->members[i]->selected == 1;
        if (i < channel_items().size()) channel_items()[i]->setChecked(on);
        if (i < m_buttons.size()) m_buttons[i]->setChecked(on);
    }
    m_model->refresh();
}

void ChannelPanel::update_mode_marks() {
    const bool single = m_view.channels.single();
    (single ? MChannelsSelOn : MChannelsSelOff)->setChecked(true);
    SpeedButtonSelOnOff->setChecked(!single);
}

void ChannelPanel::focus_list() {
    if (m_detailed && window()->isVisible() && ListViewChannels->isVisible())
        ListViewChannels->setFocus();
}

void ChannelPanel::SetChoiceMode(bool single) {
    m_view.channels.set_choice_mode(single);
    update_mode_marks();
    if (single) {
        ChooseFirstOnly();
        return;
    }
    // Multiple choice keeps the flags; the list starts again from the top.
    restart_list();
    update_marks();
}

void ChannelPanel::restart_list() {
    // The list is emptied and filled again from the top; the focused row stays where it was.
    const int focused = ListViewChannels->currentIndex().row();
    m_model->set_count(0);
    ListViewChannels->scrollToTop();
    m_model->recount();
    if (focused >= 0 && focused < m_model->rowCount())
        ListViewChannels->setCurrentIndex(m_model->index(focused, 0));
}

void ChannelPanel::ChooseFirstOnly() {
    m_view.channels.choose_first_only();
    update_marks();
    if (m_view.channels.member_count() > 0) {
        ListViewChannels->setCurrentIndex(m_model->index(0, 0));
        focus_list();
    }
    rebuild();
}

void ChannelPanel::ChooseAll(ChannelChoice::Kind kind) {
    m_view.channels.choose_all(kind);
    update_marks();
    focus_list();
    rebuild();
}

void ChannelPanel::bulk(ChannelChoice::Kind kind) {
    SetChoiceMode(false);
    ChooseAll(kind);
}

void ChannelPanel::ToggleChannel(int index) {
    if (!m_view.channels.toggle_channel(index)) {
        update_marks();  // a click on a stale item or button must not leave it toggled
        return;
    }
    update_marks();
    focus_list();
    rebuild();
}

void ChannelPanel::ChooseFirst() {
    m_view.channels.choose_first();
    update_marks();
    if (m_view.channels.member_count() > 0) ListViewChannels->setCurrentIndex(m_model->index(0, 0));
}

void ChannelPanel::sync_choice() {
    update_mode_marks();
    if (!m_view.channels.single()) restart_list();
    update_marks();
    if (m_view.channels.single() && m_view.channels.member_count() > 0)
        ListViewChannels->setCurrentIndex(m_model->index(0, 0));
}

// --- mode, size and layout

void ChannelPanel::SetChannelPanelMode(bool detailed) {
    take_mode(detailed);
    layout_panel();
    if (!detailed) make_buttons();
    ListViewChannels->setVisible(detailed);
    ScrollBoxListChl->setVisible(!detailed);
    if (!detailed) layout_grid(true);
}

void ChannelPanel::set_upright(bool upright) {
    m_upright = upright;
    layout_panel();
}

void ChannelPanel::set_button_glyphs() {
    const int side = channel_button_side(m_size);
    QToolButton* buttons[3] = {BitBtnChannelsGroup, SpeedButtonSelOnOff, BitBtnChannelsAll};
    for (int i = 0; i < 3; ++i) {
        buttons[i]->setFixedSize(side, side);
        buttons[i]->setIconSize(QSize(m_size, m_size));
        buttons[i]->setIcon(QIcon(QStringLiteral(":/panels/%1/chl_%2.png").arg(m_size).arg(i)));
    }
}

void ChannelPanel::SetChannelPanelSize(int size) {
    take_size(size);
    set_button_glyphs();
    apply_view_settings();

    const chl_group_list* group = m_view.channels.current_group();
    const int side = channel_button_side(m_size);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        QToolButton* b = m_buttons[i];
        b->setFixedSize(side, side);
        b->setIconSize(QSize(m_size, m_size));
        if (group && i < group->members.size())
            if (const QPixmap* logo = m_logos.logo(group->members[i]->logo, m_size))
                b->setIcon(QIcon(*logo));
    }
    SetChannelPanelMode(m_detailed);
}

void ChannelPanel::apply_view_settings() {
    const ViewSettings& v = m_settings.view;
    QFont font = ListViewChannels->font();
    if (!v.font_name.empty()) font.setFamily(from_cp(v.font_name));
    font.setPointSize(std::max(panel_font_size(v.font_size, m_size), 1));
    font.setBold(v.font_bold);
    font.setItalic(v.font_italic);
    ListViewChannels->setFont(font);

    const RowColours colours = row_colours(v);
    m_painter->set_colours(colours);
    const bool logos = m_settings.general.channel_logos;
    m_painter->set_image_width(logos ? m_size : 0);
    m_model->set_logos(logos, m_size);
    ListViewChannels->setShowGrid(m_settings.general.table_grid);
    const int row = std::max(QFontMetrics(font).height() + 4, logos ? m_size + 2 : 0);
    ListViewChannels->verticalHeader()->setDefaultSectionSize(row);
    QPalette list = ListViewChannels->palette();
    list.setColor(QPalette::Base, colours.back);
    list.setColor(QPalette::Text, colours.text);
    ListViewChannels->setPalette(list);

    QPalette back = m_grid->palette();
    back.setColor(QPalette::Window, colours.back);
    m_grid->setPalette(back);
    ScrollBoxListChl->viewport()->setPalette(back);
    ListViewChannels->viewport()->update();
}

void ChannelPanel::layout_panel() {
    const ChannelPanelGeometry g =
        channel_panel_layout(m_upright, width(), height(), channel_button_side(m_size));
    QToolButton* buttons[3] = {BitBtnChannelsGroup, SpeedButtonSelOnOff, BitBtnChannelsAll};
    for (int i = 0; i < 3; ++i)
        buttons[i]->move(g.buttons[std::size_t(i)].left, g.buttons[std::size_t(i)].top);
    const QRect area(g.area.left, g.area.top, g.area.width, g.area.height);
    ListViewChannels->setGeometry(area);
    ScrollBoxListChl->setGeometry(area);
}

void ChannelPanel::layout_grid(bool refresh_scroll) {
    QScrollBar* bar = ScrollBoxListChl->verticalScrollBar();
    bar->setValue(0);
    const int width = ScrollBoxListChl->viewport()->width();
    const int pitch = channel_grid_pitch(m_size);
    const int count = int(m_buttons.size());
    const auto points = grid_positions(count, width, pitch, pitch);
    for (int k = 0; k < count; ++k)
        m_buttons[std::size_t(k)]->move(points[std::size_t(k)].left, points[std::size_t(k)].top);
    const int height = grid_height(count, width, pitch, pitch, channel_button_side(m_size));
    m_grid->resize(width, std::max(height, 1));
    if (refresh_scroll && ScrollBoxListChl->isVisible()) {
        bar->setValue(10);
        bar->setValue(0);
        if (window()->isVisible()) ScrollBoxListChl->setFocus();
    }
}

void ChannelPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layout_panel();
}

int ChannelPanel::wheel_step() const {
    return zt::wheel_step(m_settings.general.mouse_speed);
}

bool ChannelPanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == ScrollBoxListChl->viewport()) {
        if (type == QEvent::Resize) {
            layout_grid(false);
        } else if (type == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            QScrollBar* bar = ScrollBoxListChl->verticalScrollBar();
            bar->setValue(bar->value() + wheel_scroll_delta(wheel->angleDelta().y(), wheel_step()));
            return true;
        }
    }
    if (type == QEvent::Enter && m_settings.general.mouse_focus &&
        (watched == ListViewChannels || watched == ScrollBoxListChl))
        static_cast<QWidget*>(watched)->setFocus();
    if (type == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (auto* button = qobject_cast<QToolButton*>(watched);
            button && button->parent() == m_grid) {
            const int index = button->objectName().mid(3).toInt();
            const chl_group_list* g = m_view.channels.current_group();
            if (g && index >= 0 && std::size_t(index) < g->members.size() && m_describe)
                m_describe(*g->members[std::size_t(index)],
                           static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- settings

void ChannelPanel::apply_settings() {
    const ChannelPanelSettings& s = m_settings.channel_panel;
    m_detailed = s.detailed;
    set_column_widths(s.columns);
    SetChannelPanelSize(s.icon_size);
}

void ChannelPanel::set_column_widths(const std::vector<int>& widths) {
    const std::vector<int> first_start = ChannelPanelSettings{}.columns;
    for (std::size_t i = 0; i < widths.size() && i < first_start.size(); ++i) {
        if (widths[i] <= 0) continue;
        // A column at its first-start width shows its caption whole; a width of the user's own
        // is kept as it is.
        if (widths[i] == first_start[i])
            set_width_fitting_caption(*ListViewChannels->horizontalHeader(), int(i), widths[i]);
        else
            ListViewChannels->setColumnWidth(int(i), widths[i]);
    }
}

void ChannelPanel::collect_settings() {
    // The mode and the size are written to the settings as they change; the column widths are
    // the list's own and are taken when the settings are saved.
    ChannelPanelSettings& s = m_settings.channel_panel;
    s.columns = {ListViewChannels->columnWidth(0), ListViewChannels->columnWidth(1)};
}

}  // namespace zt
