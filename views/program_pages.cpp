#include "views/program_pages.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <optional>

#include "core/store.h"
#include "core/time_zones.h"
#include "storage/settings.h"
#include "storage/settings_store.h"
#include "ui/cp_text.h"
#include "ui/menu_items.h"
#include "ui/minute_tick.h"
#include "ui/settings_binding.h"
#include "views/anons_window.h"
#include "views/detail_windows.h"
#include "views/logic/page_settings.h"
#include "views/logic/row_commands.h"
#include "views/logic/view_state.h"
#include "views/prog_columns.h"
#include "views/prog_controls.h"
#include "views/prog_model.h"
#include "views/prog_table.h"
#include "views/row_menu.h"

namespace zt {

ProgramPages::ProgramPages(QTabWidget& pages, SettingsStore& settings, ViewState& view,
                           LogoImages& logos, MinuteTick& tick, DetailWindows& details,
                           QWidget* window)
    : QObject(&pages),
      m_pages(pages),
      m_store(settings),
      m_settings(settings.model()),
      m_view(view),
      m_window(window),
      m_logos(logos),
      m_tick(tick),
      m_anons(details.anons_window()) {
    m_ctx.take(m_settings);
    m_ctx.logo_list = &m_logos;
    m_delegate = new ProgramRowDelegate(m_ctx, this);

    const char* table_names[4] = {"ListViewCur", "ListViewNext", "ListViewDays", "ListViewFind"};
    const char* table_captions[4] = {"Передачи: сейчас", "Передачи: скоро", "Передачи по дням",
                                     "Найденные передачи"};
    for (int i = 0; i < 4; ++i) {
        QWidget* page = m_pages.widget(i);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        if (i == 1) layout->addWidget(m_soon = new SoonPageControls(page));
        if (i == 2) layout->addWidget(m_days = new DaysPageControls(page));
        if (i == 3) layout->addWidget(m_find = new FindPageControls(page));
        auto* table = new ProgramTable(page);
        table->setObjectName(QString::fromLatin1(table_names[i]));
        table->setAccessibleName(QString::fromUtf8(table_captions[i]));
        auto* model = new ProgramTableModel(m_view.list, table);
        table->setModel(model);
        table->setItemDelegate(m_delegate);
        table->set_dated_start(i == 3);
        table->set_column_widths({});
        layout->addWidget(table, 1);
        m_tables[std::size_t(i)] = table;
        m_models[std::size_t(i)] = model;
        connect_table(i);
    }
    connect(m_soon, &SoonPageControls::changed, this, &ProgramPages::RebuildProgramList);
    connect(m_days, &DaysPageControls::changed, this, &ProgramPages::RebuildProgramList);
    connect(m_find, &FindPageControls::find_requested, this, &ProgramPages::RebuildProgramList);

    m_anons.set_reshow([this] { ShowAnnouncement(); });
    m_columns = std::make_unique<TFColTvprog>(m_store, window);
    build_row_menu();
    make_actions();
    connect_menu();

    // The first subscriber of the tick: the reminder scan that follows reads refreshed rows.
    connect(&m_tick, &MinuteTick::minute_started, this, &ProgramPages::RefreshProgramList);

    connect(&m_pages, &QTabWidget::currentChanged, this, &ProgramPages::on_page_changed);
    SetProgramListSize(16);
}

ProgramPages::~ProgramPages() = default;

int ProgramPages::page() const {
    return std::clamp(m_pages.currentIndex(), 0, 3);
}

void ProgramPages::connect_table(int i) {
    ProgramTable* t = m_tables[std::size_t(i)];
    connect(t, &ProgramTable::selection_moved, this, [this] { m_anons.close(); });
    connect(t, &ProgramTable::left_pressed, this, &ProgramPages::ShowAnnouncement);
    connect(t, &ProgramTable::double_clicked_row, this, &ProgramPages::ToggleAlarm);
    connect(t, &ProgramTable::user_scrolled, this, [this](bool wide) {
        m_anons.close();
        if (wide) repaint_tables();
    });
    connect(t->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this] { ShowColumnChooser(); });
    connect(t, &QWidget::customContextMenuRequested, this,
            [this, t](const QPoint& pos) { open_row_menu(t->viewport()->mapToGlobal(pos)); });
}

void ProgramPages::make_actions() {
    ProgramPageActions& a = m_actions;
    auto* weeks = new QActionGroup(this);
    a.week_cur = make_radio(*weeks, "MDataWeekCur", QStringLiteral("Текущая"),
                            QKeySequence(Qt::CTRL | Qt::Key_F10), true);
    a.week_next = make_radio(*weeks, "MDataWeekNew", QStringLiteral("Будущая"),
                             QKeySequence(Qt::CTRL | Qt::Key_F11), false);
    auto* pages = new QActionGroup(this);
    const char* page_names[4] = {"MPanelProgPage1", "MPanelProgPage2", "MPanelProgPage3",
                                 "MPanelProgPage4"};
    const Qt::Key page_keys[4] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4};
    for (int i = 0; i < 4; ++i)
        a.pages[std::size_t(i)] = make_radio(*pages, page_names[i], m_pages.tabText(i),
                                             QKeySequence(Qt::CTRL | page_keys[i]), i == 0);
    auto* sizes = new QActionGroup(this);
    const char* size_names[3] = {"MPanelProgSize16", "MPanelProgSize24", "MPanelProgSize32"};
    const QString size_captions[3] = {QStringLiteral("Малый"), QStringLiteral("Средний"),
                                      QStringLiteral("Большой")};
    for (int i = 0; i < 3; ++i)
        a.sizes[std::size_t(i)] = make_radio(*sizes, size_names[i], size_captions[i], {}, i == 0);
    a.past = make_switch(*this, "MPanelProgOld", QStringLiteral("Прошедшие"), {}, true);
    a.abbreviations =
        make_switch(*this, "MPanelProgTxt", QStringLiteral("Буквенные сокращения"), {}, false);
}

void ProgramPages::connect_menu() {
    const ProgramPageActions& a = m_actions;
    // The switches write the live settings before the rebuilds below read them.
    bind_choice(*a.week_cur, *a.week_next, m_store,
                [](Settings& s) -> bool& { return s.program_view.next_week; });
    bind_switch(*a.past, m_store, [](Settings& s) -> bool& { return s.program_view.show_past; });
    bind_switch(*a.abbreviations, m_store,
                [](Settings& s) -> bool& { return s.program_view.letter_abbrev; });
    connect(a.week_cur, &QAction::triggered, this, &ProgramPages::RebuildProgramList);
    connect(a.week_next, &QAction::triggered, this, &ProgramPages::RebuildProgramList);
    for (int i = 0; i < 4; ++i)
        connect(a.pages[std::size_t(i)], &QAction::triggered, this, [this, i] { set_page(i); });
    const int sizes[3] = {16, 24, 32};
    for (int i = 0; i < 3; ++i)
        connect(a.sizes[std::size_t(i)], &QAction::triggered, this, [this, s = sizes[i]] {
            SetProgramListSize(s);
            m_settings.pages.icon_size = m_size;  // the user's choice, kept at once
        });
    connect(a.past, &QAction::triggered, this, &ProgramPages::RebuildProgramList);
    connect(a.abbreviations, &QAction::triggered, this, &ProgramPages::RebuildProgramList);
}

void ProgramPages::build_row_menu() {
    m_row_menu = new ProgramRowMenu(m_window, this);
    connect(m_row_menu, &ProgramRowMenu::details_chosen, this, &ProgramPages::ShowAnnouncement);
    connect(m_row_menu, &ProgramRowMenu::disliked_chosen, this, [this] { ToggleLove(0); });
    connect(m_row_menu, &ProgramRowMenu::mark_chosen, this, &ProgramPages::ToggleMark);
    connect(m_row_menu, &ProgramRowMenu::liked_chosen, this, [this] { ToggleLove(1); });
    connect(m_row_menu, &ProgramRowMenu::alarm_chosen, this, &ProgramPages::ToggleAlarm);
}

void ProgramPages::open_row_menu(const QPoint& global) {
    // With no row the items keep the state they had.
    const auto* row = SelectedProgramRow();
    const std::optional<views::RowMenuState> state =
        row ? std::optional(views::row_menu_state(*row->prog)) : std::nullopt;
    m_row_menu->popup(state ? &*state : nullptr, global);
}

// --- pages and rebuilds

void ProgramPages::set_page(int index) {
    if (index < 0 || index > 3) return;
    if (m_pages.currentIndex() != index)
        m_pages.setCurrentIndex(index);  // currentChanged runs the switch
    else
        on_page_changed(index);
}

void ProgramPages::on_page_changed(int index) {
    if (index < 0 || index > 3) return;
    m_anons.close();
    ChannelChoice& channels = m_view.channels;
    if (index == 0 || index == 1) {
        channels.set_choice_mode(false);
        channels.choose_all(ChannelChoice::All);
        emit channel_choice_changed();
    } else if (index == 2) {
        channels.set_choice_mode(true);
        emit channel_choice_changed();
    }
    RebuildProgramList();
}

views::PageOptions ProgramPages::page_options() const {
    views::PageInputs in;
    in.page = views::ProgramPage(page());
    in.soon = m_soon->values();
    in.days = m_days->values();
    in.find = m_find->values();
    in.panels = views::panel_choice_from_store(m_view.store);
    in.system = m_view.genres.system();
    return views::page_options(m_view.store, m_settings, in);
}

void ProgramPages::RebuildProgramList() {
    if (m_rebuilding || !m_started) return;
    m_rebuilding = true;
    const int p = page();
    m_actions.pages[std::size_t(p)]->setChecked(true);
    ProgramTable& t = table(p);
    const int selected = t.currentIndex().isValid() ? t.currentIndex().row() : -1;
    const int top = t.top_line();
    for (auto* t2 : m_tables) t2->set_quiet(true);

    m_logos.refresh(m_view.store);
    for (auto* m : m_models) m->begin_rows();
    m_view.list.rebuild(m_view.store, page_options());
    for (int i = 0; i < 4; ++i) m_models[std::size_t(i)]->end_rows(i == p);
    restore_view(t, selected, top);
    for (auto* t2 : m_tables) t2->set_quiet(false);

    // The announcement stays only while its row still shows the same programme.
    if (m_anons.isVisible()) {
        const auto* row = SelectedProgramRow();
        if (!row || row->prog.get() != m_anons.shown()) m_anons.close();
    }
    m_days->set_hints(views::day_button_hints(m_view.store, m_settings.program_view.next_week));
    m_rebuilding = false;
    emit rebuilt();
}

void ProgramPages::restore_view(ProgramTable& t, int selected, int top) {
    const int count = t.model()->rowCount();
    if (selected >= 0 && selected < count) {
        const QModelIndex index = t.model()->index(selected, 0);
        t.selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    if (count > 0) t.scroll_to_line(top);
}

void ProgramPages::repaint_tables() {
    for (auto* t : m_tables)
        if (t->model()->rowCount() > 0) t->viewport()->update();
}

void ProgramPages::RefreshProgramList() {
    all_list& store = m_view.store;
    const DateTime now = store.clock().now();
    // Monday, the first minute of the day: the weeks move on.
    if (now.dayOfWeek() == 2 && now.timeOfDay() < 60) {
        set_week(store);
        update_week_captions();
    }
    const int p = page();
    if (p == 0 || p == 1 || m_view.list.page() != views::ProgramPage(p)) {
        RebuildProgramList();
    } else {
        // The rows stay; only their time left and past flag follow the clock.
        ProgramTable& t = table(p);
        const int selected = t.currentIndex().isValid() ? t.currentIndex().row() : -1;
        const int top = t.top_line();
        t.set_quiet(true);
        m_view.list.refresh_times(now);
        m_models[std::size_t(p)]->times_changed();
        restore_view(t, selected, top);
        t.set_quiet(false);
    }
}

void ProgramPages::update_week_captions() {
    const all_list& store = m_view.store;
    if (!store.week_cur_caption.empty())
        m_actions.week_cur->setText(from_cp(store.week_cur_caption));
    if (!store.week_next_caption.empty())
        m_actions.week_next->setText(from_cp(store.week_next_caption));
    m_days->set_hints(views::day_button_hints(store, m_settings.program_view.next_week));
}

void ProgramPages::press_today() {
    m_days->press_day(views::day_button_of(m_view.store.clock().now()));
}

void ProgramPages::start() {
    m_started = true;
    update_week_captions();
    press_today();
    m_tick.start();
    set_page(0);  // builds the rows of "Сейчас"
}

// --- sizes and settings

QFont ProgramPages::table_font() const {
    const ViewSettings& v = m_settings.view;
    QFont f = m_pages.font();
    if (!v.font_name.empty()) f.setFamily(from_cp(v.font_name));
    const int grow = m_size >= 32 ? 4 : m_size >= 24 ? 2 : 0;
    f.setPointSize(std::max(1, v.font_size) + grow);
    f.setBold(v.font_bold);
    f.setItalic(v.font_italic);
    return f;
}

void ProgramPages::SetProgramListSize(int size) {
    m_size = normalize_icon_size(size);
    m_ctx.size = m_size;
    const QFont f = table_font();
    for (auto* t : m_tables) {
        t->scrollToTop();
        t->setFont(f);
        t->horizontalHeader()->setFont(f);
        t->set_row_height_for(m_size);
        t->viewport()->update();
    }
    const int slot = m_size == 32 ? 2 : m_size == 24 ? 1 : 0;
    m_actions.sizes[std::size_t(slot)]->setChecked(true);
}

void ProgramPages::apply_view_settings() {
    m_ctx.take(m_settings);
    for (auto* t : m_tables) {
        t->setShowGrid(m_settings.general.table_grid);
        t->set_mouse_focus(m_settings.general.mouse_focus);
        t->set_focus_colour(m_ctx.rows.focus);
        QPalette p = t->palette();
        p.setColor(QPalette::Base, m_ctx.rows.back);
        p.setColor(QPalette::Text, m_ctx.rows.text);
        t->setPalette(p);
    }
    SetProgramListSize(m_size);
}

void ProgramPages::apply_settings() {
    const ProgramPagesSettings& s = m_settings.pages;
    for (int i = 0; i < 4; ++i)
        m_tables[std::size_t(i)]->set_column_widths(s.columns[std::size_t(i)]);
    m_size = normalize_icon_size(s.icon_size);
    apply_view_settings();
    m_days->set_day_start(day_start_text(m_settings.personal.day_start));
}

void ProgramPages::collect_settings() {
    ProgramPagesSettings& s = m_settings.pages;
    for (int i = 0; i < 4; ++i)
        s.columns[std::size_t(i)] = m_tables[std::size_t(i)]->column_widths();
}

// --- rows

const views::tvprog_local_list* ProgramPages::SelectedProgramRow() const {
    if (m_view.store.cur_group < 0) return nullptr;
    const int p = page();
    const QModelIndex current = table(p).currentIndex();
    if (!current.isValid()) return nullptr;
    return model(p).row(current.row());
}

void ProgramPages::ToggleLove(std::uint8_t liked) {
    const auto* row = SelectedProgramRow();
    if (!row || !row->member || !row->member->chl) return;
    if (!views::ToggleLove(*row->member->chl, *row->prog, liked, m_view.store.clock().now()))
        emit message(MsgKind::Error, QString::fromUtf8(kNoIdLeftMessage));
    active_table().viewport()->update();
}

void ProgramPages::ToggleMark() {
    const auto* row = SelectedProgramRow();
    if (!row) return;
    views::toggle_mark(*row->prog);
    active_table().viewport()->update();
}

void ProgramPages::ToggleAlarm() {
    const auto* row = SelectedProgramRow();
    if (!row) return;
    views::toggle_alarm(*row->prog);
    active_table().viewport()->update();
}

void ProgramPages::ShowAnnouncement() {
    m_anons.close();
    const auto* row = SelectedProgramRow();
    if (!row) return;
    ProgramTable& t = active_table();
    const QRect r = t.visualRect(t.currentIndex());
    const int row_top = t.viewport()->mapToGlobal(QPoint(0, r.top())).y();
    const int left = t.mapToGlobal(QPoint(0, 0)).x();
    QScreen* screen =
        m_window && m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    m_anons.ShowFor(m_view.store, *row, t.width(), left, row_top, r.height(), work);
    t.setFocus(Qt::OtherFocusReason);
}

void ProgramPages::ShowColumnChooser() {
    const int p = page();
    ProgramTable& t = table(p);
    // Borders dragged since the last save live in the table: the model takes them first.
    m_settings.pages.columns[std::size_t(p)] = t.column_widths();
    m_columns->ShowFor(p, t.restored_widths(), m_window);
    t.set_column_widths(m_settings.pages.columns[std::size_t(p)]);
    t.viewport()->update();
}

}  // namespace zt
