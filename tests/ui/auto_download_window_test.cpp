// The automatic download in the running program: a quiet run against a silent server at
// start-up leaves the main window usable, the daily time on the injected clock, and
// "Настройка" switching the daily timer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/application.h"
#include "app/auto_download_controller.h"
#include "app/settings_command.h"
#include "app/window_download_host.h"
#include "core/store.h"
#include "dialogs/msg_window.h"
#include "dialogs/progress_window.h"
#include "dialogs/settings_dialog.h"
#include "dialogs/settings_pages.h"
#include "storage/data_files.h"
#include "test_support.h"
#include "tools/gen/schedule_generator.h"
#include "tools/peers/peers.h"
#include "ui_helpers.h"
#include "views/main_window.h"
#include "views/prog_table.h"
#include "views/program_pages.h"

namespace zt {
namespace {

// A program folder with a generated schedule and the given settings.
struct ProgramFolder {
    QTemporaryDir dir;
    std::shared_ptr<FixedClock> clock;

    ProgramFolder(const std::string& settings, const std::string& now) {
        clock = std::make_shared<FixedClock>(test::at(now));
        QFile ini(dir.filePath("settings.ini"));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(settings.c_str());
        ini.close();
        auto store = test::make_store(test::at(now));
        gen::generate(*store, gen::profile_by_name("tiny"), test::at(now));
        store->exe_dir = dir.path().toStdString() + "/";
        QDir().mkpath(dir.filePath("dat"));
        user_account user;
        test::Recorder rec;
        EXPECT_TRUE(save_data_files(DataContext{*store, rec, rec, user}, true, true, true, true));
    }
    std::unique_ptr<Application> app() {
        auto a = std::make_unique<Application>(dir.path() + "/", dir.filePath("zorvan_tv"), clock);
        net::ExchangeLimits& limits = a->download_host().exchange().limits;
        limits.connect_timeout = limits.send_timeout = limits.receive_timeout =
            std::chrono::milliseconds(800);
        return a;
    }
};

bool menus_enabled(TFMain& w) {
    for (QAction* a : w.menuBar()->actions())
        if (!a->isEnabled()) return false;
    return true;
}

TEST(AutoDownloadWindow, QuietRunAgainstASilentServerLeavesTheWindowUsable) {
    peers::ServerProcess server("silent");
    ProgramFolder folder("[GP]\nCI=0\n[GU]\nAS=1\nES=0\n[ZORVAN]\nHOST=" + server.address() + "\n",
                         "2024-03-13 20:00");
    auto app = folder.app();
    QSignalSpy finished(&app->auto_download(), &AutoDownloadController::finished);

    // What the window looks like while the download waits for the server.
    bool locked = false, busy = false, shown = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!finished.isEmpty()) return;
        locked = locked ||
                 (!menus_enabled(app->main_window()) &&
                  !test::widget<QTabWidget>(app->main_window(), "PageControlProg")->isEnabled());
        busy = busy || app->session().ui_idle == 0;
        shown = shown || app->msg_window().isVisible() || app->progress_window().isVisible();
    });
    probe.start(20);

    ASSERT_EQ(app->start(), StartUp::Result::running);
    ASSERT_TRUE(finished.wait(10000));
    probe.stop();
    EXPECT_EQ(finished.at(0).at(0).value<AutoDownloadResult>(), AutoDownloadResult::test_failed);
    EXPECT_TRUE(locked);
    EXPECT_TRUE(busy);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(menus_enabled(app->main_window()));
    EXPECT_TRUE(test::widget<QTabWidget>(app->main_window(), "PageControlProg")->isEnabled());
    EXPECT_TRUE(test::widget<SidePanel>(app->main_window(), "PanelUtils")->isEnabled());
    EXPECT_EQ(app->session().ui_idle, 1);
    EXPECT_EQ(app->session().messages_on, 1);
}

TEST(AutoDownloadWindow, DailyTimeOnTheClockAndTheSettingsDialogSwitchesIt) {
    // The master switch off: no download after start-up, the daily one still runs.
    const std::string closed = "127.0.0.1:" + std::to_string(peers::free_port());
    ProgramFolder folder(
        "[GP]\nCI=0\n[CHD]\nA=0\n[GU]\nAS=1\nES=0\nAD=1\nET=07:30\n[ZORVAN]\nHOST=" + closed + "\n",
        "2024-03-13 07:29:30");
    auto app = folder.app();
    QSignalSpy finished(&app->auto_download(), &AutoDownloadController::finished);
    ASSERT_EQ(app->start(), StartUp::Result::running);
    QAction* master = test::action(app->main_window(), "MDataDownloadProgAuto");
    EXPECT_FALSE(master->isChecked());
    EXPECT_TRUE(master->isEnabled());
    QTest::qWait(50);
    EXPECT_TRUE(finished.isEmpty());
    EXPECT_FALSE(app->auto_download().TimerProgAutoPause->isActive());
    ASSERT_TRUE(app->auto_download().TimerProgAutoTime->isActive());

    const struct {
        const char* now;
        int runs;
    } ticks[] = {{"2024-03-13 07:29:59", 0},
                 {"2024-03-13 07:30:00", 1},
                 {"2024-03-13 07:30:59", 1},  // the same minute runs once
                 {"2024-03-13 07:31:00", 1},
                 {"2024-03-14 07:30:20", 2}};
    for (const auto& t : ticks) {
        folder.clock->set(test::at(t.now));
        app->auto_download().TimerProgAutoTimeTimer();
        EXPECT_EQ(finished.count(), t.runs) << t.now;
    }

    // "Настройка": the program is busy while it is open; unticking "Ежедневно в:" and OK stop
    // the daily timer, and the tables take the new background.
    int idle_while_open = -1;
    test::OnNextModal edit([&](QDialog&) {
        idle_while_open = app->session().ui_idle;
        TFSettings& d = app->settings_command().dialog();
        test::widget<QCheckBox>(d, "CheckBoxUserAutoDay")->setChecked(false);
        test::widget<QCheckBox>(d, "CheckBoxGenTblGrid")->setChecked(false);
        QTest::mouseClick(test::widget<QPushButton>(d, "ButtonOk"), Qt::LeftButton);
    });
    test::action(app->main_window(), "MDataSettings")->trigger();
    EXPECT_EQ(edit.runs(), 1);
    EXPECT_EQ(idle_while_open, 0);
    EXPECT_EQ(app->session().ui_idle, 1);
    EXPECT_FALSE(app->auto_download().TimerProgAutoTime->isActive());
    EXPECT_FALSE(app->main_window().programs().table(0).showGrid());
}

}  // namespace
}  // namespace zt
