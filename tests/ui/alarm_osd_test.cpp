#include <QGuiApplication>
#include <QRegion>
#include <QScreen>

#include "reminder_outputs_fixture.h"
#include "reminders/osd_picture.h"
#include "ui_helpers.h"

namespace zt {
namespace {

using OsdTest = test::ReminderOutputsFixture;

OsdContent sample() {
    OsdContent c;
    c.channel_caption = QStringLiteral("[001] Канал");
    c.start_text = QStringLiteral("12:00");
    c.title_text = QStringLiteral("Название передачи");
    return c;
}

TEST_F(OsdTest, WindowOutputIsPlacedByTheLayoutAndNeverTakesInputOrFocus) {
    AlarmOsdSettings s;
    s.pos1 = 2;
    s.pos2 = 2;
    osd.show(sample(), s, 10);
    TFAlarmOSD* w = osd.window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    const Qt::WindowFlags flags = w->windowFlags();
    for (const Qt::WindowType flag : {Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint,
                                      Qt::WindowTransparentForInput, Qt::WindowDoesNotAcceptFocus})
        EXPECT_TRUE(flags.testFlag(flag)) << flag;
    EXPECT_FALSE(flags.testFlag(Qt::X11BypassWindowManagerHint));
    // Bottom right of the primary screen's work area.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(w->geometry().bottomRight(), area.bottomRight());
    EXPECT_TRUE(osd.close_timer_active());
    EXPECT_TRUE(ui.messages.empty());

    // A second reminder replaces the first; "Никогда" runs no close timer.
    osd.show(sample(), s, 0);
    EXPECT_NE(osd.window(), w);
    EXPECT_FALSE(osd.close_timer_active());
    osd.hide();
    EXPECT_EQ(osd.window(), nullptr);
}

TEST_F(OsdTest, OverlayWithoutX11ReportsTheErrorAndShowsNothing) {
    ASSERT_NE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    AlarmOsdSettings s;
    osd.show(sample(), s, 10);  // a window output shown before goes away
    s.out = 1;
    osd.show(sample(), s, 10);
    EXPECT_EQ(osd.window(), nullptr);
    EXPECT_FALSE(osd.close_timer_active());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(ui.messages[0].text, "Ошибка оверлея: Оверлей не поддерживается.");
}

TEST(OsdPictureTest, SeeThroughBackgroundKeysOutBlackOrGreenForBlackText) {
    const QRect area(0, 0, 1920, 1040);
    AlarmOsdSettings s;
    s.back = 0xFF0000;  // blue, used only without transparency
    OsdPicture plain = draw_osd(sample(), s, area);
    EXPECT_TRUE(plain.mask.isNull());
    EXPECT_EQ(plain.image.pixelColor(0, 0), QColor(0, 0, 255));
    // The white frame square sits at (5, 5); without a channel logo it shows the program's
    // picture, never a blank square.
    EXPECT_EQ(plain.image.pixelColor(plain.layout.frame.topLeft() + QPoint(1, 1)),
              QColor(Qt::white));
    int white = 0;
    const QRect logo = plain.layout.logo;
    for (int y = logo.top(); y <= logo.bottom(); ++y)
        for (int x = logo.left(); x <= logo.right(); ++x)
            white += plain.image.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_LT(white, logo.width() * logo.height() / 2);

    s.alpha = true;
    for (const auto& [text, key] : {std::pair{Colour(0x00FF00), QColor(0, 0, 0)},
                                    std::pair{Colour(0x000000), QColor(0, 128, 0)}}) {
        s.text = text;
        const OsdPicture p = draw_osd(sample(), s, area);
        EXPECT_EQ(p.image.pixelColor(0, 0), key);
        ASSERT_FALSE(p.mask.isNull());
        const QRegion shown(p.mask);
        // The key colour is cut out, the frame stays.
        EXPECT_FALSE(shown.contains(QPoint(0, 0)));
        EXPECT_TRUE(shown.contains(p.layout.frame.center()));
    }
}

}  // namespace
}  // namespace zt
