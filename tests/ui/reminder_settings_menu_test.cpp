// "Настройка" of the reminder menus on the whole program, and (on request) screenshots of the
// reminder settings window's tabs and the on-screen display over the main window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/application.h"
#include "dialogs/msg_window.h"
#include "reminders/alarm_settings.h"
#include "reminders/osd_window.h"
#include "reminders/reminders.h"
#include "storage/settings_store.h"
#include "test_support.h"
#include "ui_helpers.h"
#include "views/main_window.h"
#include "views/tray.h"

namespace zt {
namespace {

// The program on `folder` (an empty one: the question for a schedule is answered "Нет").
std::unique_ptr<Application> start_app(const QString& folder) {
    if (!QFile::exists(folder + "/settings.ini")) {
        QFile ini(folder + "/settings.ini");
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
    }
    auto app =
        std::make_unique<Application>(folder + "/", folder + "/zorvan_tv",
                                      std::make_shared<FixedClock>(test::at("2024-03-13 20:00")));
    test::OnNextModal no(
        [&](QDialog&) { test::widget<QPushButton>(app->msg_window(), "BitBtnNo")->click(); });
    EXPECT_EQ(app->start(), StartUp::Result::running);
    return app;
}

bool has_action(const QMenu& menu, const QAction* action) {
    return menu.actions().contains(const_cast<QAction*>(action));
}

TEST(ReminderSettingsMenu, SettingsItemOfBothMenusOpensTheWindowOverTheMainWindow) {
    QTemporaryDir dir;
    auto app = start_app(dir.path());
    QAction* item = test::action(app->main_window(), "MPanelAlarmSettings");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Настройка"));
    EXPECT_TRUE(has_action(*test::menu(app->main_window(), "MPanelAlarm"), item));
    EXPECT_TRUE(has_action(*app->main_window().tray().MTrayAlarm, item));

    item->trigger();
    TFAlarmSettings* window = app->reminders().settings_window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Настройка оповещения"));
    EXPECT_EQ(window->parentWidget(), &app->main_window());
    // Opening again shows the same window.
    item->trigger();
    EXPECT_EQ(app->reminders().settings_window(), window);
}

void shoot(const QString& file) {
    QApplication::processEvents();
    QTest::qWait(300);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    EXPECT_TRUE(shot.save(file)) << file;
}

// ZT_REMINDER_SHOTS=<folder> (and ZT_REMINDER_LOOK_DIR=<program folder with data>, optional)
// under a real X server writes PNG screenshots there.
TEST(ReminderSettingsMenu, ShotsForALook) {
    const QString shots = qEnvironmentVariable("ZT_REMINDER_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "set ZT_REMINDER_SHOTS to a folder for screenshots";
    QTemporaryDir scratch;
    const QString folder = qEnvironmentVariable("ZT_REMINDER_LOOK_DIR", scratch.path());
    auto app = start_app(folder);
    TFMain& main = app->main_window();
    main.showNormal();
    main.resize(1000, 680);
    main.move(0, 0);
    test::action(main, "MPanelAlarmSettings")->trigger();
    TFAlarmSettings* window = app->reminders().settings_window();
    ASSERT_NE(window, nullptr);
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("PageControl"));
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        shoot(QStringLiteral("%1/settings_tab_%2.png").arg(shots).arg(i + 1));
    }
    window->hide();

    SettingsStore& live = app->settings_store();
    live.change([](Settings& s) {
        s.alarm_osd.size = 0;
        s.alarm_osd.pos1 = 1;
        s.alarm_osd.pos2 = 0;
    });
    app->reminders().osd().show(window->osd_sample(), live.get().alarm_osd, 0);
    shoot(shots + "/osd_small.png");
    live.change([](Settings& s) {
        s.alarm_osd.size = 2;
        s.alarm_osd.bold = true;
        s.alarm_osd.pos1 = 2;
        s.alarm_osd.pos2 = 2;
        s.alarm_osd.text = 0x00FFFF;  // yellow
        s.alarm_osd.back = 0x800000;  // navy
    });
    app->reminders().osd().show(window->osd_sample(), live.get().alarm_osd, 0);
    shoot(shots + "/osd_large.png");
    live.change([](Settings& s) { s.alarm_osd.alpha = true; });
    app->reminders().osd().show(window->osd_sample(), live.get().alarm_osd, 0);
    shoot(shots + "/osd_large_see_through.png");
    app->reminders().osd().hide();
}

}  // namespace
}  // namespace zt
