// The reminder window: its numbered tabs, the progress bar and its pause, the size table and
// the appearance that never blocks the event loop.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "core/cp1251.h"
#include "core/store.h"
#include "reminders/alarm_outputs.h"
#include "reminders/alarm_window.h"
#include "reminders/logic/alarm_tables.h"
#include "storage/settings.h"
#include "ui/image_lists.h"
#include "ui_helpers.h"

namespace zt::test {
namespace {

reminders::AlarmEvent sample(const char* caption, int genre = 5) {
    reminders::AlarmEvent e;
    e.LeadText = "Через 5 мин."_cp;
    e.ChannelCaption = to_cp1251(caption);
    e.StartText = "20:05";
    e.TitleText = "Фильм"_cp;
    e.GenreIcon = genre;
    return e;
}

QStringList captions(const TFAlarmWin& w) {
    QStringList out;
    for (int i = 0; i < test::widget<QTabWidget>(w, "PageControl")->count(); ++i)
        out << test::widget<QTabWidget>(w, "PageControl")->tabText(i);
    return out;
}

struct AlarmWindowTest : ::testing::Test {
    Settings settings;
    LogoImages logos;
    TFAlarmWin win{settings, logos};
    void SetUp() override { settings.alarm_window.anim = 0; }
};

TEST_F(AlarmWindowTest, TabsAreNumberedOnFromTheLastOne) {
    for (const char* c : {"Один", "Два", "Три"}) win.AlarmWinAdd(sample(c), 10);
    win.AlarmWinShow();
    EXPECT_EQ(captions(win), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(test::widget<QTabWidget>(win, "PageControl")->currentIndex(), 2);
    EXPECT_EQ(win.windowTitle(), QStringLiteral("Через 5 мин."));
    auto* caption = test::widget<QTabWidget>(win, "PageControl")
                        ->currentWidget()
                        ->findChild<QLabel*>("Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), QStringLiteral("Три"));
    // The lead stands beside the channel inside the window, not only in its title bar.
    auto* lead =
        test::widget<QTabWidget>(win, "PageControl")->currentWidget()->findChild<QLabel*>("Lead");
    ASSERT_NE(lead, nullptr);
    EXPECT_EQ(lead->text(), QStringLiteral("Через 5 мин."));
    EXPECT_GT(lead->x(), caption->x() + caption->width());
    EXPECT_EQ(test::widget<QTabWidget>(win, "PageControl")
                  ->currentWidget()
                  ->findChild<QLabel*>("Title")
                  ->text(),
              QStringLiteral("20:05 Фильм"));

    test::widget<QToolButton>(win, "BitBtnClose")->click();
    EXPECT_EQ(captions(win), (QStringList{"1", "2"}));
    EXPECT_EQ(test::widget<QTabWidget>(win, "PageControl")->currentIndex(), 1);
    win.AlarmWinAdd(sample("Четыре"), 10);
    EXPECT_EQ(captions(win), (QStringList{"1", "2", "3"}));

    // Closing the window discards every tab; the next reminder starts at "1" again.
    win.close();
    EXPECT_EQ(win.tab_count(), 0);
    win.AlarmWinAdd(sample("Пять"), 10);
    EXPECT_EQ(captions(win), QStringList{"1"});
    test::widget<QToolButton>(win, "BitBtnClose")->click();
    EXPECT_FALSE(win.isVisible());
}

TEST_F(AlarmWindowTest, SizesAndTheProgressBar) {
    settings.alarm_window.size = 2;  // "Большой"
    settings.alarm_window.bold = true;
    win.AlarmWinAdd(sample("Канал", -1), 5);
    win.AlarmWinShow();
    QWidget* page = test::widget<QTabWidget>(win, "PageControl")->currentWidget();
    EXPECT_EQ(page->findChild<QLabel*>("Logo")->size(), QSize(32, 32));
    EXPECT_FALSE(page->findChild<QLabel*>("Genre")->isVisibleTo(page));  // no genre
    const QFont f = page->findChild<QLabel*>("Caption")->font();
    EXPECT_EQ(f.pointSize(), 12);
    EXPECT_TRUE(f.bold());
    EXPECT_GE(
        test::widget<QTabWidget>(win, "PageControl")->minimumHeight(),
        3 * 32 + 30 + test::widget<QTabWidget>(win, "PageControl")->tabBar()->sizeHint().height());
    EXPECT_TRUE(test::widget<AlarmProgressBar>(win, "ProgressBar")->isVisible());
    EXPECT_EQ(test::widget<AlarmProgressBar>(win, "ProgressBar")->maximum(), 5);
    EXPECT_EQ(test::widget<QToolButton>(win, "BitBtnClose")->size(), QSize(40, 40));

    // "Никогда": no progress bar.
    win.AlarmWinAdd(sample("Канал"), 0);
    EXPECT_FALSE(test::widget<AlarmProgressBar>(win, "ProgressBar")->isVisible());
}

TEST_F(AlarmWindowTest, ShownOnTopWithoutTakingTheFocus) {
    EXPECT_TRUE(win.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(win.windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(win.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_FALSE(win.windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(AlarmWindowTest, AppearanceRunsInTheEventLoop) {
    settings.alarm_window.anim = 3;   // from below
    settings.alarm_window.alpha = 5;  // 50%
    settings.alarm_window.pos1 = 2;
    settings.alarm_window.pos2 = 2;
    win.AlarmWinAdd(sample("Канал"), 10);
    QElapsedTimer t;
    t.start();
    win.AlarmWinShow();
    EXPECT_LT(t.elapsed(), 300);  // the slide takes about 0.75 s, but not here
    const QRect wa = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_GT(win.y(), wa.bottom() - win.height());  // still below its place
    QTRY_COMPARE_WITH_TIMEOUT(win.y(), wa.top() + wa.height() - win.frameGeometry().height(), 3000);
    EXPECT_NEAR(win.windowOpacity(), 100 / 255.0, 0.01);
}

TEST(AlarmOutputsTest, ProgressBarPausesAndResumesTheCountdown) {
    all_list store;
    Settings settings;
    LogoImages logos;
    QSystemTrayIcon tray;
    AlarmOutputs out(store, settings, tray, logos, nullptr);
    EXPECT_TRUE(out.close_timer().isActive());  // enabled from the start
    out.window().AlarmWinAdd(sample("Канал"), 10);
    emit test::widget<AlarmProgressBar>(out.window(), "ProgressBar")->pressed();
    EXPECT_FALSE(out.close_timer().isActive());
    EXPECT_EQ(test::widget<AlarmProgressBar>(out.window(), "ProgressBar")->toolTip(),
              QStringLiteral("Продолжить"));
    emit test::widget<AlarmProgressBar>(out.window(), "ProgressBar")->pressed();
    EXPECT_TRUE(out.close_timer().isActive());
    EXPECT_EQ(test::widget<AlarmProgressBar>(out.window(), "ProgressBar")->toolTip(),
              QStringLiteral("Пауза"));
    EXPECT_EQ(out.export_action()->text(), QStringLiteral("Экспорт оповещений в календарь..."));
}

// "Проверить" on the "Окно" tab: the sample stays for its display time, its bar counting.
TEST(AlarmOutputsTest, TestWindowStaysForItsDisplayTime) {
    all_list store;
    Settings settings;
    settings.alarm_general.hide = 1;
    const int seconds = reminders::AlarmHideSeconds(1);
    ASSERT_GT(seconds, 1);
    LogoImages logos;
    QSystemTrayIcon tray;
    AlarmOutputs out(store, settings, tray, logos, nullptr);
    out.test_window();
    ASSERT_EQ(out.window().tab_count(), 1);
    EXPECT_TRUE(out.window().isVisible());
    for (int tick = 1; tick <= seconds; ++tick) {
        out.TimerAlarmCloseTimer();
        EXPECT_TRUE(out.window().isVisible()) << tick;
        EXPECT_EQ(test::widget<AlarmProgressBar>(out.window(), "ProgressBar")->value(), tick);
    }
    out.TimerAlarmCloseTimer();
    EXPECT_FALSE(out.window().isVisible());
}

// A long channel caption: the window grows so that the lead beside it is shown whole.
TEST_F(AlarmWindowTest, LongCaptionKeepsTheLeadInside) {
    win.AlarmWinAdd(sample("Первый канал. Всемирная сеть HD"), 10);
    win.AlarmWinShow();
    auto* lead =
        test::widget<QTabWidget>(win, "PageControl")->currentWidget()->findChild<QLabel*>("Lead");
    ASSERT_NE(lead, nullptr);
    EXPECT_LE(lead->x() + lead->width(), win.width());
    // For a look: ZT_SHOTS_DIR gets the window as a picture.
    const QString shots = qEnvironmentVariable("ZT_SHOTS_DIR");
    if (!shots.isEmpty()) win.grab().save(shots + QStringLiteral("/alarm-window.png"));
}

}  // namespace
}  // namespace zt::test
