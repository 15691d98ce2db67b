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
#include "views/app_resources.h"
#include "views/channel_panel.h"
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

TFMain::TFMain(Settings& settings, ViewState& view, QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_view(view) {
    setObjectName(QStringLiteral("TFMain"));
    setWindowTitle(QStringLiteral("ЗОРВАН. Телепрограмма."));
    setWindowIcon(app_icon());
    setMinimumSize(640, 400);
    resize(668, 537);

    menu = build_main_menu(*menuBar(), *this);
    SplitterGeneral = new QSplitter(this);
    PanelUtils = new SidePanel(SplitterGeneral);
    build_pages();
    m_programs = new ProgramPages(*PageControlProg, menu, m_settings, m_view, this);
    m_layout = std::make_unique<SidePanelLayout>(*SplitterGeneral, *PanelUtils, *PageControlProg);
    setCentralWidget(SplitterGeneral);

    m_tray = new Tray(this);
    m_panels = new PanelSet(*PanelUtils, menu, *m_tray, m_view, m_settings, this);
    m_panels->set_rebuild([this] { m_programs->RebuildProgramList(); });
    m_panels->set_describe([this](const chl_local_list& member, const QPoint&) {
        m_programs->ShowChannelInfo(member);
    });
    connect(m_programs, &ProgramPages::channel_choice_changed, &m_panels->channels(),
            &ChannelPanel::sync_choice);
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
    connect(menu.MDataCabinet, &QAction::triggered, this, &TFMain::cabinet_requested);
    connect(menu.MStat, &QAction::triggered, this, &TFMain::stat_requested);
    m_programs->days().set_print_handler([this] { emit print_requested(); });
    connect(menu.MDataPrint, &QAction::triggered, this, [this] {
        if (m_programs->page() != 2) set_page(2);
        emit print_requested();
    });
    connect(menu.MDataTray, &QAction::triggered, this, &TFMain::HideToTray);
    connect(menu.MDataExit, &QAction::triggered, this, &TFMain::ExitProgram);

    // A radio item of the position group is checked by Qt before `triggered` arrives, so the
    // "already checked" test compares with the edge the layout holds.
    connect(menu.MPanelUtilsHLeft, &QAction::triggered, this,
            [this] { move_panel(menu.MPanelUtilsHLeft, PanelEdge::left); });
    connect(menu.MPanelUtilsHRight, &QAction::triggered, this,
            [this] { move_panel(menu.MPanelUtilsHRight, PanelEdge::right); });
    connect(menu.MPanelUtilsVUp, &QAction::triggered, this,
            [this] { move_panel(menu.MPanelUtilsVUp, PanelEdge::top); });
    connect(menu.MPanelUtilsVDown, &QAction::triggered, this,
            [this] { move_panel(menu.MPanelUtilsVDown, PanelEdge::bottom); });
    connect(menu.MPanelUtilsChannels, &QAction::triggered, this, &TFMain::LayoutSidePanel);
    connect(menu.MPanelUtilsTypes, &QAction::triggered, this, &TFMain::LayoutSidePanel);

    for (int i = 0; i < 4; ++i)
        connect(menu.MPanelProgPages[std::size_t(i)], &QAction::triggered, this,
                [this, i] { set_page(i); });
    connect(PageControlProg, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < 4) menu.MPanelProgPages[std::size_t(index)]->setChecked(true);
    });

    connect(m_tray, &Tray::restore_requested, this, &TFMain::RestoreFromTray);
    connect(m_tray, &Tray::cabinet_requested, this, &TFMain::cabinet_requested);
    connect(m_tray, &Tray::exit_requested, this, &TFMain::ExitProgram);
}

void TFMain::move_panel(QAction* item, PanelEdge edge) {
    item->setChecked(true);
    if (PanelUtils->isVisibleTo(this) && m_layout->edge() == edge) return;
    LayoutSidePanel();
}

std::optional<PanelEdge> TFMain::checked_edge() const {
    if (menu.MPanelUtilsHLeft->isChecked()) return PanelEdge::left;
    if (menu.MPanelUtilsHRight->isChecked()) return PanelEdge::right;
    if (menu.MPanelUtilsVUp->isChecked()) return PanelEdge::top;
    if (menu.MPanelUtilsVDown->isChecked()) return PanelEdge::bottom;
    return std::nullopt;
}

void TFMain::LayoutSidePanel() {
    m_layout->LayoutSidePanel(checked_edge(), menu.MPanelUtilsChannels->isChecked(),
                              menu.MPanelUtilsTypes->isChecked());
}

void TFMain::set_page(int index) {
    if (index < 0 || index >= 4) return;
    menu.MPanelProgPages[std::size_t(index)]->setChecked(true);
    // Once the pages show their rows, the page already shown needs no second build.
    if (m_programs->started() && m_programs->page() == index) return;
    m_programs->set_page(index);
}

void TFMain::apply_layout_settings() {
    restore_window_geometry(*this, m_settings.main_window);

    const SidePanelSettings& side = m_settings.side_panel;
    menu.MPanelUtilsChannels->setChecked(side.show_channels);
    menu.MPanelUtilsTypes->setChecked(side.show_types);
    // One radio group: the first position set wins; none set leaves the docking as it is.
    QAction* position = side.pos_left    ? menu.MPanelUtilsHLeft
                        : side.pos_right ? menu.MPanelUtilsHRight
                        : side.pos_up    ? menu.MPanelUtilsVUp
                        : side.pos_down  ? menu.MPanelUtilsVDown
                                         : nullptr;
    if (position) {
        position->setChecked(true);
    } else if (QAction* checked = menu.positions->checkedAction()) {
        menu.positions->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        checked->setChecked(false);
        menu.positions->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    }
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
    set_page(0);
}

void TFMain::apply_general_settings() {
    move_to_monitor(*this, m_settings.general.monitor);
    if (m_settings.general.tray_icon || m_settings.general.tray_start) m_tray->set_visible(true);
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
    side.show_channels = menu.MPanelUtilsChannels->isChecked();
    side.show_types = menu.MPanelUtilsTypes->isChecked();
    side.pos_left = menu.MPanelUtilsHLeft->isChecked();
    side.pos_right = menu.MPanelUtilsHRight->isChecked();
    side.pos_up = menu.MPanelUtilsVUp->isChecked();
    side.pos_down = menu.MPanelUtilsVDown->isChecked();
    auto geometry = [](const QWidget* w) {
        return Geometry{w->width(), w->height(), w->y(), w->x()};
    };
    // Sizes are kept only while they mean something: a hidden panel keeps its saved size.
    if (PanelUtils->isVisibleTo(this)) {
        side.geometry = geometry(PanelUtils);
        if (PanelUtils->ScrollBoxChannels->isVisibleTo(PanelUtils))
            m_settings.channel_panel.geometry = geometry(PanelUtils->ScrollBoxChannels);
        if (PanelUtils->ScrollBoxTypes->isVisibleTo(PanelUtils))
            m_settings.genre_panel.geometry = geometry(PanelUtils->ScrollBoxTypes);
    } else {
        // Hidden, the side panel keeps the thickness it will come back with.
        (m_layout->upright() ? side.geometry.width : side.geometry.height) = m_layout->thickness();
    }
    m_settings.pages.geometry = geometry(PageControlProg);
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
