// The channel panel, the genre panel, their menus and the reminder switches, driven through the
// real main window.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QBuffer>
#include <QImage>
#include <QMenu>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "core/cp1251.h"
#include "core/store.h"
#include "reminders/reminder_menu.h"
#include "storage/ini_file.h"
#include "storage/settings.h"
#include "storage/settings_store.h"
#include "test_support.h"
#include "ui_helpers.h"
#include "views/channel_panel.h"
#include "views/channel_panel_list.h"
#include "views/genre_panel.h"
#include "views/logic/genre_filter.h"
#include "views/logic/view_state.h"
#include "views/main_window.h"
#include "views/panel_set.h"
#include "views/program_pages.h"
#include "views/side_panel.h"
#include "views/tray.h"

namespace zt {
namespace {

using test::action;
using test::menu;

std::string bmp(int size, QRgb colour) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

// A store of 40 channels (the first five with logos) in two groups: "Все" with every channel,
// numbered, and "Три" with three channels, one of them without a number.
std::unique_ptr<all_list> make_channels() {
    auto store = test::make_store(test::at("2026-12-10 12:00"));
    for (int i = 1; i <= 40; ++i) {
        std::int32_t logo = -1;
        if (i <= 5)
            logo = store->add_logo({bmp(16, qRgb(40 * i, 80, 120)), bmp(24, qRgb(40 * i, 80, 120)),
                                    bmp(32, qRgb(40 * i, 80, 120))});
        store->add_channel(i, to_cp1251("Канал " + std::to_string(i)), "", "ABCDEFGH", logo);
    }
    auto all = store->add_chl_group(-1, "Все"_cp, "");
    for (int i = 1; i <= 40; ++i) {
        const auto& c = store->channels[std::size_t(i - 1)];
        store->add_chl_local(*all, -1, i, c, c->name, "", "00:00", std::to_string(i), c->logo);
    }
    auto three = store->add_chl_group(-1, "Три & ещё"_cp, "");
    for (int i = 1; i <= 3; ++i) {
        const auto& c = store->channels[std::size_t(i - 1)];
        store->add_chl_local(*three, -1, i, c, c->name, "", "00:00", i == 2 ? "" : "7", c->logo);
    }
    return store;
}

class PanelsTest : public ::testing::Test {
protected:
    void SetUp() override { open(); }

    void open() {
        reminder_menu.reset();
        view.reset();
        main.reset();
        view = std::make_unique<ViewState>(*store);
        main = std::make_unique<TFMain>(live, *view);
        // The reminder switches in the main window's and the tray's "Оповещение", as the
        // reminders place them.
        reminder_menu = std::make_unique<ReminderMenu>(settings);
        reminder_menu->fill(main->alarm_menu());
        reminder_menu->fill(*main->tray().MTrayAlarm);
        main->resize(900, 600);
        main->apply_layout_settings();
        main->panels().data_loaded(store->ensure_default_group());
        main->programs().start();  // as the application does once the data are loaded
    }

    ChannelPanel& channels() { return main->panels().channels(); }
    GenrePanel& genres() { return main->panels().genres(); }
    std::string flags() const {
        std::string s;
        if (const auto* g = view->channels.current_group())
            for (const auto& m : g->members) s += char('0' + m->selected);
        return s;
    }
    // What the menu items and compact buttons show, as flags.
    std::string item_marks() {
        std::string s;
        for (QAction* a : channels().channel_items()) s += a->isChecked() ? '1' : '0';
        return s;
    }
    std::string button_marks() {
        std::string s;
        for (QToolButton* b : channels().compact_buttons()) s += b->isChecked() ? '1' : '0';
        return s;
    }

    std::unique_ptr<all_list> store = make_channels();
    Settings settings;
    SettingsStore live{settings};
    std::unique_ptr<ViewState> view;
    std::unique_ptr<TFMain> main;
    std::unique_ptr<ReminderMenu> reminder_menu;
};

TEST(LogoImages, ALogoReplacedInTheStoreIsDecodedAgain) {
    auto store = test::make_store(test::at("2026-03-11 20:00"));
    store->add_logo({bmp(16, qRgb(255, 0, 0)), bmp(24, qRgb(255, 0, 0)), bmp(32, qRgb(255, 0, 0))});
    LogoImages logos;
    logos.refresh(*store);
    ASSERT_NE(logos.logo(0, 16), nullptr);
    EXPECT_EQ(logos.logo(0, 16)->toImage().pixel(3, 3), qRgb(255, 0, 0));
    // A download replaces the picture; the number of logos stays the same.
    store->logos[0].bmp16 = bmp(16, qRgb(0, 0, 255));
    logos.refresh(*store);
    EXPECT_EQ(logos.logo(0, 16)->toImage().pixel(3, 3), qRgb(0, 0, 255));
}

TEST_F(PanelsTest, ChoosingAGroupFromTheMenuShowsItsChannelsEverywhere) {
    ChannelPanel& p = channels();
    ASSERT_EQ(p.group_items().size(), 2u);
    EXPECT_EQ(p.group_items()[1]->text(), QStringLiteral("Три && ещё"));
    EXPECT_TRUE(p.group_items()[0]->isChecked());
    // The popup of "Группы" shows the same items.
    EXPECT_EQ(p.PopupMenuChannelsGroup->actions(), p.MChannelsGroup->actions());

    QSignalSpy rebuilt(&main->programs(), &ProgramPages::rebuilt);
    p.group_items()[1]->trigger();
    EXPECT_EQ(store->cur_group, 1);
    EXPECT_FALSE(p.group_items()[0]->isChecked());
    EXPECT_TRUE(p.group_items()[1]->isChecked());
    EXPECT_GE(rebuilt.count(), 1);

    // A member without a number shows its bare name, the others their number in brackets.
    ASSERT_EQ(p.channel_items().size(), 3u);
    EXPECT_EQ(p.channel_items()[0]->text(), QStringLiteral("Канал 1 [7]"));
    EXPECT_EQ(p.channel_items()[1]->text(), QStringLiteral("Канал 2"));
    ASSERT_EQ(p.compact_buttons().size(), 3u);
    EXPECT_EQ(p.compact_buttons()[0]->toolTip(), QStringLiteral("[7] Канал 1"));
    EXPECT_EQ(p.compact_buttons()[1]->toolTip(), QStringLiteral("Канал 2"));
    EXPECT_EQ(p.compact_buttons()[2]->objectName(), QStringLiteral("SBC2"));
    EXPECT_EQ(p.model().rowCount(), 3);

    // In single choice a new group starts with its first channel; in multiple with all.
    p.SetChoiceMode(true);
    p.PopupMenuChannelsGroup->actions()[0]->trigger();
    EXPECT_EQ(flags(), "1" + std::string(39, '0'));
    EXPECT_EQ(item_marks(), flags());
    p.SetChoiceMode(false);
    p.group_items()[1]->trigger();
    EXPECT_EQ(flags(), "111");
    EXPECT_EQ(button_marks(), "111");
}

TEST_F(PanelsTest, ButtonsKeptFromAnotherGroupShowTheirNewChannel) {
    // A third group of two channels without logos: its buttons are those the logo channels of
    // the first group had.
    auto bare = store->add_chl_group(-1, "Без логотипов"_cp, "");
    for (int i : {6, 7}) {
        const auto& c = store->channels[std::size_t(i - 1)];
        store->add_chl_local(*bare, -1, i, c, c->name, "", "00:00", "", c->logo);
    }
    ChannelPanel& p = channels();
    p.BuildGroupMenus();
    p.SetChoiceMode(false);
    ASSERT_EQ(p.compact_buttons().size(), 40u);
    const QToolButton* first = p.compact_buttons()[0];
    ASSERT_FALSE(first->icon().isNull());
    const QWidget* grid = first->parentWidget();

    p.group_items()[2]->trigger();
    ASSERT_EQ(p.compact_buttons().size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const QToolButton* b = p.compact_buttons()[std::size_t(i)];
        EXPECT_EQ(b->objectName(), QStringLiteral("SBC%1").arg(i));
        EXPECT_TRUE(b->icon().isNull()) << i;
        EXPECT_EQ(b->text(), QStringLiteral("Ка")) << i;
        EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonTextOnly) << i;
        EXPECT_EQ(b->toolTip(), QStringLiteral("Канал %1").arg(6 + i));
        EXPECT_TRUE(b->isVisibleTo(grid));
    }
    // Only this group's buttons are shown and named.
    int shown = 0, named = 0;
    for (const QToolButton* b : grid->findChildren<QToolButton*>()) {
        shown += b->isVisibleTo(grid) ? 1 : 0;
        named += b->objectName().startsWith(QStringLiteral("SBC")) ? 1 : 0;
    }
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(named, 2);
    // A click on a kept button toggles its new channel.
    EXPECT_EQ(button_marks(), "11");
    const_cast<QToolButton*>(p.compact_buttons()[1])->click();
    EXPECT_EQ(flags(), "10");
    EXPECT_EQ(button_marks(), "10");

    // Back to every channel: logos where the channels have them, numbers elsewhere.
    p.group_items()[0]->trigger();
    ASSERT_EQ(p.compact_buttons().size(), 40u);
    EXPECT_FALSE(p.compact_buttons()[0]->icon().isNull());
    EXPECT_TRUE(p.compact_buttons()[0]->text().isEmpty());
    EXPECT_EQ(p.compact_buttons()[0]->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_TRUE(p.compact_buttons()[10]->icon().isNull());
    EXPECT_EQ(p.compact_buttons()[10]->text(), QStringLiteral("11"));
    EXPECT_EQ(button_marks(), std::string(40, '1'));
}

TEST_F(PanelsTest, ChannelMenuBreaksIntoColumnsByTheSettingsCount) {
    // 20 per column: the first column holds the four fixed items and 16 channels, every
    // further column 20 channels.
    ChannelPanel& p = channels();
    const QList<QAction*> top = menu(*main, "MChannels")->actions();
    int channel_items_in_top = 0;
    for (QAction* a : top)
        if (std::find(p.channel_items().begin(), p.channel_items().end(), a) !=
            p.channel_items().end())
            ++channel_items_in_top;
    EXPECT_EQ(channel_items_in_top, 16);
    ASSERT_EQ(p.column_menus().size(), 2u);
    EXPECT_EQ(p.column_menus()[0]->actions().size(), 20);
    EXPECT_EQ(p.column_menus()[1]->actions().size(), 4);
    EXPECT_EQ(p.column_menus()[0]->title(), QStringLiteral("Ещё (17–36)"));

    // A channel item in an overflow column toggles its own member.
    p.SetChoiceMode(false);
    p.ChooseAll(ChannelChoice::None);
    p.column_menus()[1]->actions()[1]->trigger();  // member 38
    EXPECT_EQ(flags(), std::string(37, '0') + "100");

    // A different count rebuilds the columns at the next group selection.
    settings.personal.menu_break = "30";
    p.SelectGroup(0);
    ASSERT_EQ(p.column_menus().size(), 1u);
    EXPECT_EQ(p.column_menus()[0]->actions().size(), 14);
}

TEST_F(PanelsTest, KeysOnTheListChangeTheChoice) {
    ChannelPanel& p = channels();
    p.group_items()[1]->trigger();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    ChannelListView* list = test::widget<ChannelListView>(p, "ListViewChannels");
    list->setFocus();
    list->setCurrentIndex(p.model().index(1, 0));

    p.SetChoiceMode(false);
    p.ChooseAll(ChannelChoice::None);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(flags(), "010");
    QTest::keyClick(list, Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(flags(), "101");
    QTest::keyClick(list, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(flags(), "111");
    QTest::keyClick(list, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(flags(), "000");
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(flags(), "111");
    EXPECT_EQ(item_marks(), "111");

    // Keypad "/" flips to single choice (first channel only) and back to multiple.
    QTest::keyClick(list, Qt::Key_Slash, Qt::KeypadModifier);
    EXPECT_TRUE(p.MChannelsSelOn->isChecked());
    EXPECT_FALSE(test::widget<QToolButton>(p, "SpeedButtonSelOnOff")->isChecked());
    EXPECT_EQ(flags(), "100");
    // Space in single choice makes the focused row the only chosen one.
    list->setCurrentIndex(p.model().index(2, 0));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(flags(), "001");
    QTest::keyClick(list, Qt::Key_Slash, Qt::KeypadModifier);
    EXPECT_TRUE(p.MChannelsSelOff->isChecked());
    EXPECT_TRUE(test::widget<QToolButton>(p, "SpeedButtonSelOnOff")->isChecked());
    EXPECT_EQ(flags(), "001");

    // A mouse click toggles the row under it.
    const QRect row0 = list->visualRect(p.model().index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row0.center());
    EXPECT_EQ(flags(), "101");
}

TEST_F(PanelsTest, InvertInSingleChoiceSwitchesToMultipleFirst) {
    ChannelPanel& p = channels();
    p.group_items()[1]->trigger();
    p.SetChoiceMode(true);
    EXPECT_EQ(flags(), "100");
    p.MChannelsAllInv->trigger();
    EXPECT_TRUE(p.MChannelsSelOff->isChecked());
    EXPECT_EQ(flags(), "011");
    p.PopupMenuChannelsAll->actions()[2]->trigger();
    EXPECT_EQ(flags(), "000");
    EXPECT_EQ(button_marks(), "000");
}

TEST_F(PanelsTest, CompactGridButtonsToggleAndFollowTheWidth) {
    ChannelPanel& p = channels();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    action(*main, "MPanelUtilsChannelsSmall")->trigger();
    EXPECT_FALSE(test::widget<ChannelListView>(p, "ListViewChannels")->isVisible());
    ASSERT_TRUE(test::widget<QScrollArea>(p, "ScrollBoxListChl")->isVisible());
    // The mode is in the settings at once, with nothing to collect.
    EXPECT_FALSE(settings.channel_panel.detailed);

    // Buttons are (16 + 8) square on a pitch of 26, as many columns as the area holds.
    const auto& buttons = p.compact_buttons();
    ASSERT_EQ(buttons.size(), 40u);
    const int columns = std::max(
        (test::widget<QScrollArea>(p, "ScrollBoxListChl")->viewport()->width() - 6) / 26, 1);
    EXPECT_EQ(buttons[0]->geometry(), QRect(2, 2, 24, 24));
    EXPECT_EQ(buttons[std::size_t(columns)]->pos(), QPoint(2, 28));
    EXPECT_EQ(buttons[1]->pos(), columns > 1 ? QPoint(28, 2) : QPoint(2, 28));

    p.SetChoiceMode(false);
    p.ChooseAll(ChannelChoice::None);
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_EQ(flags().substr(0, 3), "010");
    EXPECT_TRUE(buttons[1]->isChecked());
    EXPECT_TRUE(p.channel_items()[1]->isChecked());

    // The large size makes the buttons 40 square; detailed mode brings the list back.
    action(*main, "MPanelUtilsChannelsSize32")->trigger();
    EXPECT_EQ(buttons[0]->size(), QSize(40, 40));
    EXPECT_EQ(test::widget<QToolButton>(p, "BitBtnChannelsGroup")->size(), QSize(40, 40));
    action(*main, "MPanelUtilsChannelsFull")->trigger();
    EXPECT_TRUE(test::widget<ChannelListView>(p, "ListViewChannels")->isVisible());
    EXPECT_FALSE(test::widget<QScrollArea>(p, "ScrollBoxListChl")->isVisible());
}

TEST_F(PanelsTest, PanelButtonsFollowTheSidePanelOrientation) {
    ChannelPanel& p = channels();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    // Upright: the three buttons in a row at the top, the list below them.
    EXPECT_EQ(test::widget<QToolButton>(p, "BitBtnChannelsGroup")->y(),
              test::widget<QToolButton>(p, "BitBtnChannelsAll")->y());
    EXPECT_GT(test::widget<ChannelListView>(p, "ListViewChannels")->y(),
              test::widget<QToolButton>(p, "BitBtnChannelsGroup")->geometry().bottom());
    // Docked at the top: a column at the left, the list beside it.
    action(*main, "MPanelUtilsVUp")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(test::widget<QToolButton>(p, "BitBtnChannelsGroup")->x(),
              test::widget<QToolButton>(p, "BitBtnChannelsAll")->x());
    EXPECT_GT(test::widget<QToolButton>(p, "BitBtnChannelsAll")->y(),
              test::widget<QToolButton>(p, "BitBtnChannelsGroup")->y());
    EXPECT_GT(test::widget<ChannelListView>(p, "ListViewChannels")->x(),
              test::widget<QToolButton>(p, "BitBtnChannelsGroup")->geometry().right());
}

TEST_F(PanelsTest, ChannelListModelPassesTheModelTester) {
    ChannelPanel& p = channels();
    QAbstractItemModelTester tester(&p.model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    p.group_items()[1]->trigger();
    p.SetChoiceMode(false);
    p.ToggleChannel(1);
    p.SelectGroup(0);
    p.SetChoiceMode(true);
    EXPECT_EQ(p.model().rowCount(), 40);
    EXPECT_EQ(p.model().data(p.model().index(0, 0), Qt::DisplayRole).toString(),
              QStringLiteral("Канал 1"));
    EXPECT_EQ(p.model().data(p.model().index(0, 1), Qt::DisplayRole).toString(),
              QStringLiteral("1"));
    EXPECT_FALSE(p.model().data(p.model().index(0, 0), Qt::DecorationRole).isNull());
    EXPECT_TRUE(p.model().data(p.model().index(9, 0), Qt::DecorationRole).isNull());
    p.ClearGroupMenus();
    EXPECT_EQ(p.model().rowCount(), 0);
    EXPECT_TRUE(p.channel_items().empty());
    EXPECT_TRUE(p.group_items().empty());
    // The store without a current group: the list produces nothing even for a stale count.
    store->cur_group = -1;
    p.model().set_count(5);
    EXPECT_FALSE(p.model().data(p.model().index(0, 0), Qt::DisplayRole).isValid());
}

TEST_F(PanelsTest, GenrePanelCompactModeAndBack) {
    GenrePanel& g = genres();
    ASSERT_EQ(g.buttons().size(), 11u);
    EXPECT_EQ(g.buttons()[3]->objectName(), QStringLiteral("BBT1"));
    EXPECT_EQ(g.buttons()[3]->text(), QStringLiteral("Информация"));
    EXPECT_EQ(g.buttons()[0]->size(), QSize(95, 24));

    action(*main, "MPanelUtilsTypesSmall")->trigger();
    for (QToolButton* b : g.buttons()) {
        EXPECT_TRUE(b->text().isEmpty()) << b->objectName();
        EXPECT_EQ(b->width(), 24);
    }
    EXPECT_EQ(g.buttons()[1]->toolTip(), QStringLiteral("Все типы"));
    EXPECT_EQ(g.buttons()[3]->toolTip(), QStringLiteral("Информация"));

    action(*main, "MPanelUtilsTypesFull")->trigger();
    EXPECT_EQ(g.buttons()[1]->text(), QStringLiteral("Все типы"));
    EXPECT_TRUE(g.buttons()[1]->toolTip().isEmpty());
    EXPECT_EQ(g.buttons()[1]->width(), 95);
    action(*main, "MPanelUtilsTypesSize32")->trigger();
    EXPECT_EQ(g.buttons()[1]->size(), QSize(3 * 32 + 47, 40));
}

TEST_F(PanelsTest, UncheckingOneSubGenreChangesTheOverlayAndClearsTheSystemCategories) {
    GenrePanel& g = genres();
    const QImage all_on = g.family_glyph(1).toImage();
    QMenu* family = g.family_popups()[1];  // "Худ. фильмы"
    QAction* comedy = nullptr;
    for (QAction* a : family->actions())
        if (a->text() == QStringLiteral("Комедия")) comedy = a;
    ASSERT_NE(comedy, nullptr);
    ASSERT_TRUE(comedy->isChecked());
    comedy->trigger();

    EXPECT_EQ(family_overlay_icon(*store, 2), 14);
    EXPECT_NE(g.family_glyph(1).toImage(), all_on);
    // "Типы" shows the same item; all five system categories are off.
    EXPECT_TRUE(g.family_menus()[1]->actions().contains(comedy));
    for (std::size_t c = 0; c < 5; ++c) EXPECT_FALSE(g.MTypesSysItems[c]->isChecked()) << c;
    // The popups of "Системные" and "Все типы" show the items of "Типы".
    for (QAction* a : g.MTypesSysItems) EXPECT_TRUE(g.PopupMenuTypesSys->actions().contains(a));
    for (QAction* a : g.MTypesAllItems) EXPECT_TRUE(g.PopupMenuTypesAll->actions().contains(a));
    g.MTypesSysItems[2]->trigger();
    EXPECT_TRUE(g.MTypesSysItems[2]->isChecked());
    EXPECT_TRUE(view->genres.system()[SystemCategory::Mark]);

    // Global "Снять со всех" leaves the system categories off; "Пометить все" brings all back.
    g.MTypesAllItems[2]->trigger();
    EXPECT_EQ(family_overlay_icon(*store, 2), 15);
    EXPECT_FALSE(g.MTypesSysItems[2]->isChecked());
    g.MTypesAllItems[0]->trigger();
    EXPECT_EQ(family_overlay_icon(*store, 2), 13);
    EXPECT_EQ(g.family_glyph(1).toImage(), all_on);
    for (std::size_t c = 0; c < 5; ++c) EXPECT_TRUE(g.MTypesSysItems[c]->isChecked()) << c;
}

TEST_F(PanelsTest, ReminderSwitchesAreTheSameInTheMainAndTrayMenus) {
    ReminderMenu& r = *reminder_menu;
    const auto& items = r.items();
    ASSERT_EQ(items[2]->text(), QStringLiteral("Звук"));
    // One action per switch, shown in both menus: nothing to keep in step.
    const QList<QAction*> in_main = menu(*main, "MPanelAlarm")->actions();
    const QList<QAction*> in_tray = main->tray().MTrayAlarm->actions();
    for (QAction* item : items) {
        EXPECT_TRUE(in_main.contains(item)) << item->text();
        EXPECT_TRUE(in_tray.contains(item)) << item->text();
    }
    EXPECT_EQ(in_main.size(), in_tray.size());  // the separators too
    EXPECT_FALSE(items[2]->isChecked());
    items[2]->trigger();
    EXPECT_TRUE(items[2]->isChecked());
    EXPECT_TRUE(settings.alarm_switches.sound);

    items[0]->trigger();  // "Включено" off
    EXPECT_FALSE(settings.alarm_switches.enabled);
    for (std::size_t i = 1; i < 6; ++i) EXPECT_FALSE(items[i]->isEnabled()) << i;
    items[0]->trigger();
    for (std::size_t i = 1; i < 6; ++i) EXPECT_TRUE(items[i]->isEnabled()) << i;
    EXPECT_TRUE(items[2]->isChecked());
}

TEST_F(PanelsTest, PanelStateComesBackAfterASaveAndALoad) {
    action(*main, "MPanelUtilsChannelsSmall")->trigger();
    action(*main, "MPanelUtilsChannelsSize24")->trigger();
    action(*main, "MPanelUtilsTypesSmall")->trigger();
    action(*main, "MPanelUtilsTypesSize32")->trigger();
    reminder_menu->items()[4]->trigger();  // "OSD"
    test::widget<ChannelListView>(channels(), "ListViewChannels")->setColumnWidth(0, 120);
    channels().group_items()[1]->trigger();
    main->collect_layout_settings();
    settings.channel_group.current = store->cur_group;

    QTemporaryDir dir;
    IniFile ini;
    ini.set_path((dir.path() + QStringLiteral("/settings.ini")).toStdString());
    settings.save_all(ini);
    Settings loaded;
    IniFile again;
    again.set_path(ini.path());
    again.load();
    loaded.load_all(again);
    settings = loaded;
    store->cur_group = settings.channel_group.current;
    open();  // a new window on the loaded settings

    EXPECT_FALSE(channels().detailed());
    EXPECT_EQ(channels().icon_size(), 24);
    EXPECT_TRUE(action(*main, "MPanelUtilsChannelsSize24")->isChecked());
    EXPECT_TRUE(action(*main, "MPanelUtilsChannelsSmall")->isChecked());
    EXPECT_FALSE(genres().detailed());
    EXPECT_EQ(genres().icon_size(), 32);
    EXPECT_TRUE(action(*main, "MPanelUtilsTypesSize32")->isChecked());
    EXPECT_EQ(test::widget<ChannelListView>(channels(), "ListViewChannels")->columnWidth(0), 120);
    EXPECT_TRUE(reminder_menu->items()[4]->isChecked());
    EXPECT_EQ(store->cur_group, 1);
    EXPECT_TRUE(channels().group_items()[1]->isChecked());
}

}  // namespace
}  // namespace zt
