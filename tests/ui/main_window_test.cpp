// The main window: side panel placement, pages, close and tray behaviour, layout settings.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "core/store.h"
#include "storage/settings.h"
#include "storage/settings_store.h"
#include "ui_helpers.h"
#include "views/logic/view_state.h"
#include "views/main_window.h"
#include "views/panel_set.h"
#include "views/program_pages.h"
#include "views/tray.h"

namespace zt {
namespace {

using test::action;
using test::menu;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<TFMain>(live, view);
        window->resize(800, 570);
        window->show();
        settle();
    }
    void settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
    void trigger(QAction* action) {
        action->trigger();
        settle();
    }
    QWidget* channels() const {
        return test::widget<QScrollArea>(test::widget<SidePanel>(*window, "PanelUtils"),
                                         "ScrollBoxChannels");
    }
    QWidget* types() const {
        return test::widget<QScrollArea>(test::widget<SidePanel>(*window, "PanelUtils"),
                                         "ScrollBoxTypes");
    }
    QSplitterHandle* general_handle() const {
        return test::widget<QSplitter>(*window, "SplitterGeneral")->handle(1);
    }

    all_list store;
    ViewState view{store};
    Settings settings;
    SettingsStore live{settings};
    std::unique_ptr<TFMain> window;
};

TEST_F(MainWindow, CaptionSizeAndPages) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ЗОРВАН. Телепрограмма."));
    EXPECT_EQ(window->minimumSize(), QSize(640, 400));
    QStringList tabs;
    for (int i = 0; i < test::widget<QTabWidget>(*window, "PageControlProg")->count(); ++i)
        tabs << test::widget<QTabWidget>(*window, "PageControlProg")->tabText(i);
    EXPECT_EQ(tabs, QStringList({"Сейчас", "Скоро", "По дням", "Поиск"}));
    for (int i = 0; i < test::widget<QTabWidget>(*window, "PageControlProg")->count(); ++i)
        EXPECT_EQ(
            test::widget<QTabWidget>(*window, "PageControlProg")->tabBar()->tabRect(i).width(), 85)
            << i;
}

TEST_F(MainWindow, HidingBothPanelsHidesTheSidePanelAndOneShownFillsIt) {
    trigger(action(*window, "MPanelUtilsChannels"));
    trigger(action(*window, "MPanelUtilsTypes"));
    EXPECT_FALSE(test::widget<SidePanel>(*window, "PanelUtils")->isVisible());
    EXPECT_FALSE(general_handle()->isVisible());
    EXPECT_EQ(test::widget<QTabWidget>(*window, "PageControlProg")->width(),
              test::widget<QSplitter>(*window, "SplitterGeneral")->width());

    trigger(action(*window, "MPanelUtilsTypes"));
    EXPECT_TRUE(test::widget<SidePanel>(*window, "PanelUtils")->isVisible());
    EXPECT_TRUE(general_handle()->isVisible());
    EXPECT_FALSE(channels()->isVisible());
    EXPECT_TRUE(types()->isVisible());
    EXPECT_EQ(types()->height(), test::widget<SidePanel>(*window, "PanelUtils")->height());
}

// Hiding both panels and showing one again brings the side panel back as thick as it was,
// and that thickness is what the settings keep for the next start.
TEST_F(MainWindow, SidePanelComesBackAtItsThicknessAfterHidingBothPanels) {
    settings.side_panel.geometry.width = 210;
    window->apply_layout_settings();
    settle();
    ASSERT_EQ(test::widget<SidePanel>(*window, "PanelUtils")->width(), 210);

    trigger(action(*window, "MPanelUtilsChannels"));
    trigger(action(*window, "MPanelUtilsTypes"));
    window->collect_layout_settings();
    EXPECT_EQ(settings.side_panel.geometry.width, 210);  // saved while hidden

    trigger(action(*window, "MPanelUtilsChannels"));
    EXPECT_EQ(test::widget<SidePanel>(*window, "PanelUtils")->width(), 210);
    window->collect_layout_settings();
    EXPECT_EQ(settings.side_panel.geometry.width, 210);

    // The next start: a new window given the saved layout.
    TFMain next(live, view);
    next.resize(800, 570);
    next.apply_layout_settings();
    next.show();
    settle();
    EXPECT_EQ(test::widget<SidePanel>(next, "PanelUtils")->width(), 210);
}

// Start-up builds the rows of "Сейчас" once, although settings, panels, pages and the main
// window each ask for the page (every build scans the whole schedule).
TEST_F(MainWindow, StartUpBuildsThePageOnce) {
    QSignalSpy rebuilt(&window->programs(), &ProgramPages::rebuilt);
    window->apply_layout_settings();
    window->panels().data_loaded(store.ensure_default_group());
    window->programs().start();
    window->set_page(0);
    EXPECT_EQ(rebuilt.count(), 1);
    // Afterwards every request builds again.
    window->programs().RebuildProgramList();
    EXPECT_EQ(rebuilt.count(), 2);
}

TEST_F(MainWindow, EachEdgePlacesThePanelAndArrangesItsTwoHalves) {
    struct Case {
        QAction* item;
        bool upright;
        bool panel_first;
    };
    const Case cases[] = {
        {action(*window, "MPanelUtilsVUp"), false, true},
        {action(*window, "MPanelUtilsHRight"), true, false},
        {action(*window, "MPanelUtilsVDown"), false, false},
        {action(*window, "MPanelUtilsHLeft"), true, true},
    };
    for (const Case& c : cases) {
        trigger(c.item);
        SCOPED_TRACE(c.item->text().toStdString());
        EXPECT_TRUE(c.item->isChecked());
        const QRect panel = test::widget<SidePanel>(*window, "PanelUtils")->geometry();
        const QRect pages = test::widget<QTabWidget>(*window, "PageControlProg")->geometry();
        if (c.upright) {
            EXPECT_EQ(panel.height(), pages.height());
            EXPECT_EQ(panel.left() < pages.left(), c.panel_first);
            // Channels above, genres below, half each.
            EXPECT_LT(channels()->y(), types()->y());
            EXPECT_NEAR(channels()->height(), types()->height(), 4);
        } else {
            EXPECT_EQ(panel.width(), pages.width());
            EXPECT_EQ(panel.top() < pages.top(), c.panel_first);
            // Lying flat: channels left, genres right, half the width each.
            EXPECT_LT(channels()->x(), types()->x());
            EXPECT_NEAR(channels()->width(), types()->width(), 4);
            EXPECT_EQ(channels()->height(), types()->height());
        }
    }
}

TEST_F(MainWindow, PageItemsAndTabsFollowEachOther) {
    trigger(action(*window, "MPanelProgPage3"));
    EXPECT_EQ(test::widget<QTabWidget>(*window, "PageControlProg")->currentIndex(), 2);
    test::widget<QTabWidget>(*window, "PageControlProg")->setCurrentIndex(3);
    EXPECT_TRUE(action(*window, "MPanelProgPage4")->isChecked());
    QTest::keyClick(window.get(), Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(test::widget<QTabWidget>(*window, "PageControlProg")->currentIndex(), 1);
}

TEST_F(MainWindow, ClosingGoesToTheTrayOrAsksToExitAsSet) {
    QSignalSpy exit(window.get(), &TFMain::exit_requested);
    settings.general.tray_minimize = true;
    window->close();
    settle();
    EXPECT_EQ(exit.count(), 0);
    EXPECT_TRUE(window->isHidden() || window->isMinimized());

    window->RestoreFromTray();
    settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());

    settings.general.tray_minimize = false;
    window->close();
    EXPECT_EQ(exit.count(), 1);
    EXPECT_TRUE(window->isVisible());  // the application decides, after saving

    window->allow_close();
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindow, TrayIconFollowsTheAlwaysShownSetting) {
    settings.general.tray_icon = true;
    window->apply_general_settings();
    EXPECT_TRUE(window->tray().visible());

    // Switched off with the window on screen: the icon goes at once.
    settings.general.tray_icon = false;
    window->apply_general_settings();
    EXPECT_FALSE(window->tray().visible());

    // Hidden in the tray, the icon stays whatever the setting says.
    window->tray().set_visible(true);
    window->hide();
    window->apply_general_settings();
    EXPECT_TRUE(window->tray().visible());
}

TEST_F(MainWindow, ExitItemsOfTheMenuAndTheTrayAskToExit) {
    QSignalSpy exit(window.get(), &TFMain::exit_requested);
    trigger(action(*window, "MDataExit"));
    window->tray().MTrayExit->trigger();
    EXPECT_EQ(exit.count(), 2);
}

TEST_F(MainWindow, LayoutSettingsComeBackAsTheyWereApplied) {
    settings.side_panel.pos_left = false;
    settings.side_panel.pos_down = true;
    settings.side_panel.show_types = false;
    settings.side_panel.geometry.height = 150;
    window->apply_layout_settings();
    settle();
    EXPECT_TRUE(action(*window, "MPanelUtilsVDown")->isChecked());
    EXPECT_FALSE(action(*window, "MPanelUtilsTypes")->isChecked());
    EXPECT_FALSE(types()->isVisible());
    EXPECT_GT(test::widget<SidePanel>(*window, "PanelUtils")->y(),
              test::widget<QTabWidget>(*window, "PageControlProg")->y());
    EXPECT_EQ(test::widget<SidePanel>(*window, "PanelUtils")->height(), 150);
    EXPECT_EQ(test::widget<QTabWidget>(*window, "PageControlProg")->currentIndex(), 0);

    // The switches live in the model; the sizes are taken from the window.
    settings.side_panel.geometry = Geometry{};
    window->collect_layout_settings();
    EXPECT_TRUE(settings.side_panel.pos_down);
    EXPECT_FALSE(settings.side_panel.pos_left);
    EXPECT_FALSE(settings.side_panel.show_types);
    EXPECT_TRUE(settings.side_panel.show_channels);
    EXPECT_EQ(settings.side_panel.geometry.height, 150);
    EXPECT_EQ(settings.main_window.width, window->width());
}

TEST_F(MainWindow, AWindowSavedOffTheScreenComesBackOntoIt) {
    settings.main_window = MainWindowSettings{800, 570, 0, 5000, 0};
    window->apply_layout_settings();
    const QRect area = window->screen()->availableGeometry();
    EXPECT_EQ(window->pos().x(), area.left());
    EXPECT_EQ(window->size(), QSize(800, 570));
}

TEST_F(MainWindow, AMaximisedWindowKeepsItsNormalSizeForTheNextStart) {
    settings.main_window = MainWindowSettings{700, 450, 30, 40, 2};
    window->hide();
    window->apply_layout_settings();
    window->show();
    settle();
    EXPECT_TRUE(window->isMaximized());
    window->collect_layout_settings();
    EXPECT_EQ(settings.main_window.state, 2);
    EXPECT_EQ(settings.main_window.width, 700);
    EXPECT_EQ(settings.main_window.height, 450);
}

TEST_F(MainWindow, LockingDisablesMenusPanelAndPages) {
    window->LockMainWindow(true);
    for (QAction* top : window->menuBar()->actions()) EXPECT_FALSE(top->isEnabled());
    EXPECT_FALSE(test::widget<SidePanel>(*window, "PanelUtils")->isEnabled());
    EXPECT_FALSE(test::widget<QTabWidget>(*window, "PageControlProg")->isEnabled());
    EXPECT_FALSE(general_handle()->isEnabled());
    window->LockMainWindow(false);
    EXPECT_TRUE(menu(*window, "MData")->menuAction()->isEnabled());
    EXPECT_TRUE(test::widget<QTabWidget>(*window, "PageControlProg")->isEnabled());
}

}  // namespace
}  // namespace zt
