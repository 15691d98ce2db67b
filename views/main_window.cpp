#include "views/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>

#include "storage/settings.h"
#include "storage/settings_store.h"
#include "ui/app_resources.h"
#include "ui/menu_items.h"
#include "ui/minute_tick.h"
#include "ui/settings_binding.h"
#include "views/channel_panel.h"
#include "views/detail_windows.h"
#include "views/genre_panel.h"
#include "views/help_menu.h"
#include "views/logic/view_state.h"
#include "views/panel_set.h"
#include "views/prog_controls.h"
#include "views/program_pages.h"
#include "views/tray.h"
#include "views/window_placement.h"

namespace zt {
namespace {

constexpr int kPageTabWidth = 85;

// Page tabs of one width, whatever their captions.
class FixedWidthTabBar final : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        return {kPageTabWidth, QTabBar::tabSizeHint(index).height()};
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
};

class PageControl final : public QTabWidget {
public:
    explicit PageControl(QWidget* parent) : QTabWidget(parent) {
        setTabBar(new FixedWidthTabBar(this));
    }
};

}  // namespace

TFMain::TFMain(SettingsStore& store, ViewState& view, QWidget* parent)
    : QMainWindow(parent), m_store(store), m_settings(store.model()), m_view(view) {
    setObjectName(QStringLiteral("TFMain"));
    setWindowTitle(QStringLiteral("ЗОРВАН. Телепрограмма."));
    setWindowIcon(app_icon());
    setMinimumSize(640, 400);
    resize(668, 537);

    make_actions();
    bind_switches();
    SplitterGeneral = new QSplitter(this);
    SplitterGeneral->setObjectName(QStringLiteral("SplitterGeneral"));
    PanelUtils = new SidePanel(SplitterGeneral);
    build_pages();
    m_tick = new MinuteTick(m_view.store, this);
    m_details = new DetailWindows(m_view.store, m_settings, m_logos, this);
    m_programs =
        new ProgramPages(*PageControlProg, m_store, m_view, m_logos, *m_tick, *m_details, this);
    m_layout = std::make_unique<SidePanelLayout>(*SplitterGeneral, *PanelUtils, *PageControlProg);
    setCentralWidget(SplitterGeneral);

    m_tray = new Tray(this);
    m_panels = new PanelSet(*PanelUtils, m_view, m_settings, m_logos, this);
    m_panels->set_rebuild([this] { m_programs->RebuildProgramList(); });
    m_panels->set_describe([this](const chl_local_list& member, const QPoint&) {
        m_details->ShowChannelInfo(member);
    });
    connect(m_programs, &ProgramPages::channel_choice_changed, &m_panels->channels(),
            &ChannelPanel::sync_choice);

    ChannelPanel& channels = m_panels->channels();
    GenrePanel& genres = m_panels->genres();
    m_alarm_menu = &build_menu_bar(
        *menuBar(),
        MenuParts{m_actions, m_programs->actions(), channels.view_actions(), genres.view_actions(),
                  channels.menu(), genres.menu(), m_details->about_action()});
    connect_menu();
}

TFMain::~TFMain() = default;

void TFMain::build_pages() {
    PageControlProg = new PageControl(SplitterGeneral);
    PageControlProg->setObjectName(QStringLiteral("PageControlProg"));
    PageControlProg->setMinimumWidth(60);
    PageControlProg->tabBar()->setExpanding(false);
    const char* names[4] = {"TabSheetCur", "TabSheetNext", "TabSheetDays", "TabSheetFind"};
    const QString captions[4] = {QStringLiteral("Сейчас"), QStringLiteral("Скоро"),
                                 QStringLiteral("По дням"), QStringLiteral("Поиск")};
    for (int i = 0; i < 4; ++i) {
        auto* page = new QWidget(PageControlProg);
        page->setObjectName(QString::fromLatin1(names[i]));
        pages[std::size_t(i)] = page;
        PageControlProg->addTab(page, captions[i]);
    }
}

void TFMain::connect_menu() {
    const MainWindowActions& a = m_actions;
    connect(a.download_prog, &QAction::triggered, this, &TFMain::download_requested);
    connect(a.cabinet, &QAction::triggered, this, &TFMain::cabinet_requested);
    connect(a.stat, &QAction::triggered, this, &TFMain::stat_requested);
    connect(a.settings, &QAction::triggered, this, &TFMain::settings_requested);
    connect(a.manager, &QAction::triggered, this, &TFMain::manager_requested);
    m_programs->days().set_print_handler([this] { emit print_requested(); });
    connect(a.print, &QAction::triggered, this, [this] {
        if (m_programs->page() != 2) set_page(2);
        emit print_requested();
    });
    connect(a.to_tray, &QAction::triggered, this, &TFMain::HideToTray);
    connect(a.exit, &QAction::triggered, this, &TFMain::ExitProgram);

    // The switches wrote the settings first (bind_switches); the "already there" test compares
    // with the edge the layout holds.
    const PanelEdge edges[4] = {PanelEdge::left, PanelEdge::right, PanelEdge::top,
                                PanelEdge::bottom};
    for (std::size_t i = 0; i < 4; ++i)
        connect(a.position[i], &QAction::triggered, this,
                [this, edge = edges[i]] { move_panel(edge); });
    connect(a.show_channels, &QAction::triggered, this, &TFMain::LayoutSidePanel);
    connect(a.show_types, &QAction::triggered, this, &TFMain::LayoutSidePanel);

    const auto& page_items = m_programs->actions().pages;
    connect(PageControlProg, &QTabWidget::currentChanged, this, [page_items](int index) {
        if (index >= 0 && index < 4) page_items[std::size_t(index)]->setChecked(true);
    });

    connect(m_tray, &Tray::restore_requested, this, &TFMain::RestoreFromTray);
    connect(m_tray, &Tray::download_requested, this, &TFMain::download_requested);
    connect(m_tray, &Tray::cabinet_requested, this, &TFMain::cabinet_requested);
    connect(m_tray, &Tray::exit_requested, this, &TFMain::ExitProgram);
}

void TFMain::make_actions() {
    MainWindowActions& a = m_actions;
    a.download_auto =
        make_switch(*this, "MDataDownloadProgAuto",
                    QStringLiteral("Автоматическое получение телепрограммы"), {}, true);
    a.settings = make_action(*this, "MDataSettings", QStringLiteral("Настройка"));
    a.download_prog =
        make_action(*this, "MDataDownloadProg", QStringLiteral("Ручное получение телепрограммы"),
                    QKeySequence(Qt::CTRL | Qt::Key_S));
    a.cabinet = make_action(*this, "MDataCabinet", QStringLiteral("Личный кабинет"),
                            QKeySequence(Qt::CTRL | Qt::Key_C));
    a.stat = make_action(*this, "MStat", QStringLiteral("Статистика"));
    a.manager = make_action(*this, "MDataManager", QStringLiteral("Менеджер"));
    a.print = make_action(*this, "MDataPrint", QStringLiteral("Печать"));
    a.to_tray = make_action(*this, "MDataTray", QStringLiteral("Свернуть в системный трей"));
    if (!Tray::available()) {
        // Hidden into a tray that is not there, the window could not be brought back.
        a.to_tray->setEnabled(false);
        a.to_tray->setToolTip(QStringLiteral("На этом рабочем столе нет системного трея"));
    }
    a.exit = make_action(*this, "MDataExit", QStringLiteral("Выход"),
                         QKeySequence(Qt::CTRL | Qt::Key_Q));
    a.positions = new QActionGroup(this);
    const char* names[4] = {"MPanelUtilsHLeft", "MPanelUtilsHRight", "MPanelUtilsVUp",
                            "MPanelUtilsVDown"};
    const QString captions[4] = {QStringLiteral("Слева"), QStringLiteral("Справа"),
                                 QStringLiteral("Вверху"), QStringLiteral("Внизу")};
    const Qt::Key keys[4] = {Qt::Key_L, Qt::Key_R, Qt::Key_U, Qt::Key_D};
    for (int i = 0; i < 4; ++i)
        a.position[std::size_t(i)] = make_radio(*a.positions, names[i], captions[i],
                                                QKeySequence(Qt::CTRL | keys[i]), i == 0);
    a.show_channels = make_switch(*this, "MPanelUtilsChannels", QStringLiteral("Показывать каналы"),
                                  QKeySequence(Qt::CTRL | Qt::Key_K), true);
    a.show_types = make_switch(*this, "MPanelUtilsTypes", QStringLiteral("Показывать типы"),
                               QKeySequence(Qt::CTRL | Qt::Key_T), true);
    a.help_index = make_action(*this, "MHelpIndex", QStringLiteral("Содержание"));
    a.help_site = make_action(*this, "MHelpURL", QStringLiteral("Сайт программы"));
    a.help_mail = make_action(*this, "MHelpEmail", QStringLiteral("Письмо в службу поддержки"));
    connect_help_links(*a.help_index, *a.help_site, *a.help_mail, m_settings, *this);
}

void TFMain::bind_switches() {
    using Flag = SettingsFlag;
    const Flag left = [](Settings& s) -> bool& { return s.side_panel.pos_left; };
    const Flag right = [](Settings& s) -> bool& { return s.side_panel.pos_right; };
    const Flag up = [](Settings& s) -> bool& { return s.side_panel.pos_up; };
    const Flag down = [](Settings& s) -> bool& { return s.side_panel.pos_down; };
    const MainWindowActions& a = m_actions;
    bind_radio(
        *a.positions,
        {{a.position[0], left}, {a.position[1], right}, {a.position[2], up}, {a.position[3], down}},
        m_store);
    bind_switch(*a.download_auto, m_store,
                [](Settings& s) -> bool& { return s.download.auto_download; });
    bind_switch(*a.show_channels, m_store,
                [](Settings& s) -> bool& { return s.side_panel.show_channels; });
    bind_switch(*a.show_types, m_store,
                [](Settings& s) -> bool& { return s.side_panel.show_types; });
}

void TFMain::move_panel(PanelEdge edge) {
    if (PanelUtils->isVisibleTo(this) && m_layout->edge() == edge) return;
    LayoutSidePanel();
}

std::optional<PanelEdge> TFMain::chosen_edge() const {
    const SidePanelSettings& side = m_settings.side_panel;
    if (side.pos_left) return PanelEdge::left;
    if (side.pos_right) return PanelEdge::right;
    if (side.pos_up) return PanelEdge::top;
    if (side.pos_down) return PanelEdge::bottom;
    return std::nullopt;
}

void TFMain::LayoutSidePanel() {
    const SidePanelSettings& side = m_settings.side_panel;
    m_layout->LayoutSidePanel(chosen_edge(), side.show_channels, side.show_types);
}

void TFMain::set_page(int index) {
    if (index < 0 || index >= 4) return;
    m_programs->actions().pages[std::size_t(index)]->setChecked(true);
    // Once the pages show their rows, the page already shown needs no second build.
    if (m_programs->started() && m_programs->page() == index) return;
    m_programs->set_page(index);
}

void TFMain::apply_layout_settings() {
    restore_window_geometry(*this, m_settings.main_window);

    // One radio group: the first position set wins; none set leaves the docking as it is.
    SidePanelSettings& side = m_settings.side_panel;
    bool placed = false;
    for (bool* position : {&side.pos_left, &side.pos_right, &side.pos_up, &side.pos_down}) {
        if (placed) *position = false;
        placed = placed || *position;
    }
    // The switches show the loaded model.
    m_store.reloaded();
    LayoutSidePanel();

    // Then the sizes: the side panel's thickness and the share of its two panels.
    const bool upright =
        m_layout->edge() == PanelEdge::left || m_layout->edge() == PanelEdge::right;
    const int thickness = upright ? side.geometry.width : side.geometry.height;
    if (thickness > 0) m_layout->set_thickness(thickness);
    const Geometry& ch = m_settings.channel_panel.geometry;
    const Geometry& ty = m_settings.genre_panel.geometry;
    if (upright)
        PanelUtils->set_panel_sizes(ch.height, ty.height);
    else
        PanelUtils->set_panel_sizes(ch.width, ty.width);

    m_panels->apply_settings();
    m_programs->apply_settings();
    m_details->apply_settings();
    set_page(0);
}

void TFMain::apply_general_settings() {
    move_to_monitor(*this, m_settings.general.monitor);
    if (m_settings.general.tray_icon || m_settings.general.tray_start)
        m_tray->set_visible(true);
    else if (isVisible())
        m_tray->set_visible(false);  // "always" was switched off while the window is on screen
}

bool TFMain::starts_hidden() const {
    return m_settings.general.tray_start;
}

void TFMain::show_at_start() {
    if (!starts_hidden()) {
        show();
    } else if (Tray::available()) {
        m_tray->set_visible(true);
    } else {
        // Without a tray a hidden window could not be reached again: start minimised instead.
        showMinimized();
    }
}

void TFMain::collect_layout_settings() {
    m_settings.main_window = window_geometry(*this);

    SidePanelSettings& side = m_settings.side_panel;
    auto geometry = [](const QRect& r) { return Geometry{r.width(), r.height(), r.y(), r.x()}; };
    // Sizes are kept only while they mean something: a hidden panel keeps its saved size.
    if (PanelUtils->isVisibleTo(this)) {
        side.geometry = geometry(PanelUtils->geometry());
        if (const auto r = PanelUtils->channels_rect())
            m_settings.channel_panel.geometry = geometry(*r);
        if (const auto r = PanelUtils->types_rect()) m_settings.genre_panel.geometry = geometry(*r);
    } else {
        // Hidden, the side panel keeps the thickness it will come back with.
        (m_layout->upright() ? side.geometry.width : side.geometry.height) = m_layout->thickness();
    }
    m_settings.pages.geometry = geometry(PageControlProg->geometry());
    m_panels->collect_settings();
    m_programs->collect_settings();
}

void TFMain::HideToTray() {
    m_tray->set_visible(true);
    if (Tray::available())
        hide();
    else
        showMinimized();  // no tray on this desktop: the task bar keeps the window reachable
}

void TFMain::RestoreFromTray() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    if (!m_settings.general.tray_icon) m_tray->set_visible(false);
    raise();
    activateWindow();
}

void TFMain::ExitProgram() {
    emit exit_requested();
}

void TFMain::LockMainWindow(bool on) {
    for (QAction* top : menuBar()->actions()) top->setEnabled(!on);
    PanelUtils->setEnabled(!on);
    for (int i = 1; i < SplitterGeneral->count(); ++i) SplitterGeneral->handle(i)->setEnabled(!on);
    PageControlProg->setEnabled(!on);
}

void TFMain::closeEvent(QCloseEvent* event) {
    if (m_close_allowed) {
        event->accept();
        return;
    }
    event->ignore();
    if (m_settings.general.tray_minimize)
        HideToTray();
    else
        emit exit_requested();
}

}  // namespace zt
