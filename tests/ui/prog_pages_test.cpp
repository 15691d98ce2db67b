// The programme pages driven through the real main window: page switches with their channel
// rule, the page controls, the row commands, the column chooser, the minute refresh and the
// settings of the tables.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "prog_fixture.h"
#include "storage/settings_store.h"
#include "ui_helpers.h"
#include "views/anons_window.h"
#include "views/logic/prog_page_rules.h"
#include "views/prog_columns.h"
#include "views/prog_controls.h"

namespace zt::test {
namespace {

using Rows = std::vector<std::string>;

QAction* row_item(ProgramPages& p, const QString& caption) {
    for (QAction* a : p.row_menu().actions())
        if (a->text() == caption) return a;
    return nullptr;
}

TEST_F(ProgPagesTest, PageSwitchesChooseChannelsAndRebuild) {
    EXPECT_EQ(pages().page(), 0);
    EXPECT_EQ(shown(), (Rows{"Первый 20:00 Фильм", "Второй 19:30 Спорт"}));

    // "По дням" by its menu item: single choice with the first channel, today's day pressed.
    action(*main, "MPanelProgPage3")->trigger();
    EXPECT_EQ(pages().page(), 2);
    EXPECT_EQ(first->selected, 1);
    EXPECT_EQ(second->selected, 0);
    EXPECT_TRUE(
        test::widget<QToolButton>(pages().days(), "SpeedButtonDays3")->isChecked());  // Wednesday
    EXPECT_EQ(shown(),
              (Rows{"Первый 19:00 Новости", "Первый 20:00 Фильм", "Первый 21:00 Новости"}));

    // A tab click on "Скоро": every channel again, and its menu item follows.
    test::widget<QTabWidget>(*main, "PageControlProg")->setCurrentIndex(1);
    EXPECT_EQ(second->selected, 1);
    EXPECT_TRUE(action(*main, "MPanelProgPage2")->isChecked());
    EXPECT_EQ(shown(), (Rows{"Первый 21:00 Новости", "Второй 20:30 Новости"}));

    // "Поиск" keeps the choice; it lists nothing until something is searched for.
    action(*main, "MPanelProgPage4")->trigger();
    EXPECT_TRUE(shown().empty());
    FindPageControls& find = pages().find();
    QTest::mouseClick(test::widget<QToolButton>(find, "BitBtnFind"),
                      Qt::LeftButton);  // empty text: no search
    EXPECT_TRUE(shown().empty());
    test::widget<QLineEdit>(find, "EditFind")->setText(QStringLiteral("НОВОСТИ"));
    QTest::mouseClick(test::widget<QToolButton>(find, "BitBtnFind"), Qt::LeftButton);
    EXPECT_EQ(shown().size(), 3u);
    // Its rows come from several days: the table's start column shows the date before the time
    // and is wide enough for both.
    ProgramTableModel& m = pages().model(3);
    const QString start = m.data(m.index(0, views::col_start)).toString();
    EXPECT_EQ(start, QStringLiteral("11.03 19:00"));
    ProgramTable& table = pages().table(3);
    EXPECT_GE(table.column_width(views::col_start), table.fontMetrics().horizontalAdvance(start));
}

TEST_F(ProgPagesTest, DayButtonsWeekAndGrouping) {
    pages().set_page(2);
    DaysPageControls& days = pages().days();
    // Without "Выбор" a second day releases the first; with it days add up.
    QTest::mouseClick(test::widget<QToolButton>(days, "SpeedButtonDays4"), Qt::LeftButton);
    EXPECT_FALSE(test::widget<QToolButton>(days, "SpeedButtonDays3")->isChecked());
    EXPECT_TRUE(shown().empty());  // nothing on Thursday
    QTest::mouseClick(test::widget<QToolButton>(days, "SpeedButtonDaysSel"), Qt::LeftButton);
    QTest::mouseClick(test::widget<QToolButton>(days, "SpeedButtonDays3"), Qt::LeftButton);
    EXPECT_TRUE(test::widget<QToolButton>(days, "SpeedButtonDays4")->isChecked());
    EXPECT_EQ(shown().size(), 3u);
    // Releasing "Выбор" releases every day: an empty list.
    QTest::mouseClick(test::widget<QToolButton>(days, "SpeedButtonDaysSel"), Qt::LeftButton);
    for (int d = 1; d <= 7; ++d)
        EXPECT_FALSE(
            test::widget<QToolButton>(days, ("SpeedButtonDays" + std::to_string(d)).c_str())
                ->isChecked());
    EXPECT_TRUE(shown().empty());

    // The hints and the buttons' date lines carry the dates of the shown week; "Будущая" moves
    // them on by seven days.
    auto* monday = test::widget<QToolButton>(days, "SpeedButtonDays1");
    EXPECT_EQ(monday->toolTip().left(8), QStringLiteral("09.03.26"));
    EXPECT_EQ(monday->text(), QStringLiteral("ПН\n09.03"));
    EXPECT_EQ(test::widget<QToolButton>(days, "SpeedButtonDays7")->text(),
              QStringLiteral("ВС\n15.03"));
    action(*main, "MDataWeekNew")->trigger();
    EXPECT_EQ(monday->toolTip().left(8), QStringLiteral("16.03.26"));
    EXPECT_EQ(monday->text(), QStringLiteral("ПН\n16.03"));
    EXPECT_TRUE(action(*main, "MDataWeekCur")->text().startsWith(QStringLiteral("Текущая")));
}

TEST_F(ProgPagesTest, SoonControlsLeaveRulesAndMenus) {
    pages().set_page(1);
    SoonPageControls& soon = pages().soon();
    // An hour past 23 is no time: the default comes back and the offset kind returns to 0.
    test::widget<QComboBox>(soon, "ComboBoxNextType")->setCurrentIndex(2);
    test::widget<LeaveEdit>(soon, "EditNextTimeStart")->setText(QStringLiteral("25:00"));
    emit test::widget<LeaveEdit>(soon, "EditNextTimeStart")->left();
    EXPECT_EQ(test::widget<LeaveEdit>(soon, "EditNextTimeStart")->edit_text(), "00:00");
    EXPECT_EQ(test::widget<QComboBox>(soon, "ComboBoxNextType")->currentIndex(), 0);
    test::widget<LeaveEdit>(soon, "EditNextTimeFinish")
        ->setText(QStringLiteral("1"));  // incomplete
    emit test::widget<LeaveEdit>(soon, "EditNextTimeFinish")->left();
    EXPECT_EQ(test::widget<LeaveEdit>(soon, "EditNextTimeFinish")->edit_text(), "03:00");
    test::widget<LeaveEdit>(soon, "EditNextLine")->setText(QStringLiteral("0"));
    emit test::widget<LeaveEdit>(soon, "EditNextLine")->left();
    EXPECT_EQ(test::widget<LeaveEdit>(soon, "EditNextLine")->edit_text(), "1 ");

    // A profile item sets the three edits and the kind, and rebuilds.
    QMenu* today = soon.PopupMenuProgNextProfiles->actions()[2]->menu();
    ASSERT_NE(today, nullptr);
    today->actions().last()->trigger();  // "Вечером с 18:00 до 0:00"
    EXPECT_EQ(soon.values().time_start, "18:00");
    EXPECT_EQ(soon.values().time_finish, "23:59");
    EXPECT_EQ(soon.values().line, 99);
    EXPECT_EQ(soon.values().offset_kind, views::SoonOffset::times_of_day);
    EXPECT_EQ(shown().size(), 5u);  // everything starting today from 18:00

    // A time item of the "Без смещения" submenu fills its edit and chooses the kind.
    QMenu* plain = soon.PopupMenuProgNextStart->actions()[2]->menu();
    for (QAction* a : plain->actions())
        if (a->text() == QStringLiteral("21:00")) a->trigger();
    EXPECT_EQ(soon.values().time_start, "21:00");
    EXPECT_EQ(soon.values().offset_kind, views::SoonOffset::times_of_day);

    // The drop-down list opens wide enough for its longest item.
    QFont f = test::widget<QComboBox>(soon, "ComboBoxNextType")->font();
    f.setPointSize(8);
    const int longest =
        QFontMetrics(f).horizontalAdvance(QStringLiteral("Смещение от конца текущей передачи"));
    EXPECT_GT(test::widget<QComboBox>(soon, "ComboBoxNextType")->view()->minimumWidth(), longest);
}

TEST(ProgPageRules, PopupItemsAndLeaveRules) {
    // Offsets: 18 ten-minute steps, then hours to 14:00, columns at 01, 02, 03 and 09 o'clock.
    const auto offsets = views::soon_time_items(0);
    ASSERT_EQ(offsets.size(), 30u);
    EXPECT_EQ(offsets.front().caption, "00:00");
    EXPECT_EQ(offsets.back().caption, "14:00");
    std::vector<std::string> columns;
    for (const auto& i : offsets)
        if (i.column) columns.push_back(i.caption);
    EXPECT_EQ(columns, (std::vector<std::string>{"01:00", "02:00", "03:00", "09:00"}));
    EXPECT_EQ(views::soon_profile_items(0).front().caption, "00:10");
    EXPECT_EQ(views::soon_profile_items(0).size(), 29u);
    EXPECT_TRUE(views::soon_profile_items(1)[5].column);  // "6"
    EXPECT_EQ(views::day_time_items().size(), 24u);

    const views::SoonProfile nearest = views::soon_profile(1, 2);
    EXPECT_EQ(nearest.finish, "14:00");
    EXPECT_EQ(nearest.line, "3");
    EXPECT_EQ(nearest.kind, 1);

    struct Case {
        const char* text;
        bool valid;
    } cases[] = {{"00:00", true},  {"23:59", true},  {"24:00", false},
                 {"12:60", false}, {"1 :30", false}, {"--:--", false},
                 {"  :  ", false}, {"07:5-", false}, {"+07:05", true}};
    for (const auto& c : cases) EXPECT_EQ(views::time_edit_valid(c.text), c.valid) << c.text;
    EXPECT_EQ(views::leave_time_edit("24:00", "23:59"), "23:59");
    EXPECT_EQ(views::leave_count_edit("0 "), "1");
    EXPECT_EQ(views::leave_count_edit("07"), "7");
    EXPECT_EQ(views::count_edit_value("  "), 1);
}

TEST_F(ProgPagesTest, RowCommandsChangeTheProgrammeAndRepaint) {
    const auto later = prog(first, "2026-03-12 20:00", "2026-03-12 21:00", "фильм");
    pages().RebuildProgramList();
    ProgramTable& t = pages().active_table();

    // Without a selected row the commands do nothing.
    t.setCurrentIndex({});
    row_item(pages(), QStringLiteral("Любимая"))->trigger();
    EXPECT_FALSE(film->love);

    select(line_of(film));
    // The popup shows the programme's state when it opens.
    film->mark = 1;
    emit t.customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(row_item(pages(), QStringLiteral("Маркер"))->isChecked());
    EXPECT_FALSE(row_item(pages(), QStringLiteral("Подробнее"))->isEnabled());
    pages().row_menu().hide();
    row_item(pages(), QStringLiteral("Маркер"))->trigger();
    EXPECT_EQ(film->mark, 0);

    // "Любимая" marks every programme of the channel with the same title, in any case;
    // "Не любимая" then turns the entry round; "Не любимая" again removes it.
    row_item(pages(), QStringLiteral("Любимая"))->trigger();
    ASSERT_TRUE(film->love);
    EXPECT_EQ(later->love, film->love);
    EXPECT_EQ(film->love->liked, 1);
    row_item(pages(), QStringLiteral("Не любимая"))->trigger();
    EXPECT_EQ(later->love->liked, 0);
    row_item(pages(), QStringLiteral("Не любимая"))->trigger();
    EXPECT_FALSE(film->love);
    EXPECT_FALSE(later->love);
    EXPECT_TRUE(first->chl->love.empty());

    // A double click on a row toggles its reminder.
    const QRect r = t.visualRect(t.model()->index(line_of(film), 7));
    QTest::mouseDClick(t.viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(film->alarm, 1);
    row_item(pages(), QStringLiteral("Оповещение"))->trigger();
    EXPECT_EQ(film->alarm, 0);
    details().anons_window().close();
}

TEST_F(ProgPagesTest, RebuildKeepsSelectionAndScroll) {
    for (int i = 0; i < 60; ++i)
        prog(second, "2026-03-11 20:00", "2026-03-11 20:59", "Канал " + std::to_string(i));
    pages().RebuildProgramList();
    ProgramTable& t = pages().active_table();
    t.resize(600, 200);
    select(40);
    t.scroll_to_line(30);
    pages().RebuildProgramList();
    EXPECT_EQ(t.currentIndex().row(), 40);
    EXPECT_EQ(t.top_line(), 30);
    // A remembered line beyond the new rows is not selected.
    action(*main, "MPanelProgPage3")->trigger();
    EXPECT_FALSE(t.currentIndex().isValid());
}

TEST_F(ProgPagesTest, MinuteRefresh) {
    QTimer& timer = tick().timer();
    EXPECT_TRUE(timer.isActive());
    int checks = 0;
    QObject::connect(&tick(), &MinuteTick::minute_started, [&] { ++checks; });
    tick().TimerTvprogUpdateTimer();  // 20:00:30: the minute the pages started in
    EXPECT_EQ(checks, 0);

    // A new minute: "Сейчас" is rebuilt and the reminders scanned.
    clock->set(at("2026-03-11 20:31"));
    tick().TimerTvprogUpdateTimer();
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(shown(), (Rows{"Первый 20:00 Фильм", "Второй 20:30 Новости"}));

    // "По дням" keeps its rows, even one that has ended with "Прошедшие" off, until a rebuild.
    pages().set_page(2);
    action(*main, "MPanelProgOld")->trigger();
    EXPECT_FALSE(action(*main, "MPanelProgOld")->isChecked());
    EXPECT_EQ(shown(), (Rows{"Первый 20:00 Фильм", "Первый 21:00 Новости"}));
    clock->set(at("2026-03-11 21:01"));
    tick().TimerTvprogUpdateTimer();
    ProgramTableModel& m = pages().model(2);
    ASSERT_EQ(m.rowCount(), 2);
    EXPECT_EQ(m.row(0)->past, 1);
    EXPECT_TRUE(m.row(1)->on_air());
    pages().RebuildProgramList();
    EXPECT_EQ(shown(), (Rows{"Первый 21:00 Новости"}));
}

// The reminder scan runs once for each minute the clock enters, however the timer's ticks
// fall within it, also after a suspend and when the clock is set back.
TEST_F(ProgPagesTest, EachMinuteIsScannedOnce) {
    int checks = 0;
    QObject::connect(&tick(), &MinuteTick::minute_started, [&] { ++checks; });
    const struct {
        const char* now;
        int checks;
    } ticks[] = {
        {"2026-03-11 20:00:59", 0},                              // still the minute of the start
        {"2026-03-11 20:01:00", 1}, {"2026-03-11 20:01:00", 1},  // two ticks in one second
        {"2026-03-11 20:01:59", 1}, {"2026-03-11 20:02:00", 2},
        {"2026-03-11 20:02:58", 2}, {"2026-03-11 20:03:01", 3},  // a late tick
        {"2026-03-11 23:40:17", 4}, {"2026-03-11 23:40:18", 4},  // after a suspend
        {"2026-03-11 19:00:00", 5}, {"2026-03-11 19:00:59", 5},  // the clock set back
        {"2026-03-11 19:01:00", 6},
    };
    for (const auto& t : ticks) {
        clock->set(at(t.now));
        tick().TimerTvprogUpdateTimer();
        EXPECT_EQ(checks, t.checks) << t.now;
    }
    EXPECT_EQ(tick().timer().interval(), 1000);
    EXPECT_TRUE(tick().timer().isActive());
}

TEST_F(ProgPagesTest, ModelsStayConsistent) {
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    for (int i = 0; i < 4; ++i)
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            &pages().model(i), QAbstractItemModelTester::FailureReportingMode::Warning));
    QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg) ADD_FAILURE() << text.toStdString();
        });
    for (int page : {1, 2, 3, 0}) pages().set_page(page);
    clock->set(at("2026-03-11 20:45"));
    pages().RefreshProgramList();
    pages().set_page(2);
    pages().RefreshProgramList();
    pages().model(2).data(pages().model(2).index(0, 5));
    qInstallMessageHandler(previous);
    // Inactive tables show no rows; texts of the active one come from the row list.
    EXPECT_EQ(pages().model(0).rowCount(), 0);
    EXPECT_EQ(pages().model(2).data(pages().model(2).index(1, 1)).toString(), QStringLiteral("1"));
}

TEST_F(ProgPagesTest, ColumnChooserRestoresDefaultWidth) {
    ProgramTable& t = pages().active_table();
    t.set_column_width(views::col_channel, 200);
    auto run = [&](bool channel_on) {
        OnNextModal answer([channel_on](QDialog& d) {
            auto& chooser = static_cast<TFColTvprog&>(d);
            chooser.boxes[0]->setChecked(channel_on);
            d.close();
        });
        pages().ShowColumnChooser();
    };
    run(true);
    EXPECT_EQ(t.column_width(views::col_channel), 200);  // shown before: kept
    run(false);
    EXPECT_EQ(t.column_width(views::col_channel), 0);
    EXPECT_TRUE(t.horizontalHeader()->isSectionHidden(views::col_channel));
    run(true);
    EXPECT_EQ(t.column_width(views::col_channel), 140);
    // Only the active table changes.
    EXPECT_EQ(pages().table(1).column_width(views::col_channel), 140);
}

// A column brought back by "Колонки" gets the first-start width ("Осталось" 85, not 45), and at
// every table size it is wide enough for the texts it shows (the row painter needs the text
// width plus 4 pixels to draw a text uncut).
TEST_F(ProgPagesTest, RestoredColumnsFitTheirTextsAtEveryTableSize) {
    film->rating = 100;
    pages().RebuildProgramList();
    auto choose = [&](bool on) {
        OnNextModal answer([on](QDialog& d) {
            auto& chooser = static_cast<TFColTvprog&>(d);
            for (QCheckBox* b : chooser.boxes) b->setChecked(on);
            d.close();
        });
        pages().ShowColumnChooser();
    };
    const std::vector<int> first_start = ProgramPagesSettings::default_columns();
    const auto& sizes = pages().actions().sizes;
    for (QAction* size : sizes) {
        SCOPED_TRACE(size->text().toStdString());
        size->trigger();
        choose(false);
        choose(true);
        ProgramTable& t = pages().active_table();
        ProgramTableModel& m = pages().model(pages().page());
        ASSERT_GT(m.rowCount(), 0);
        for (int c = views::col_button; c < views::col_title; ++c) {
            EXPECT_GE(t.column_width(c), first_start[std::size_t(c)]) << "column " << c;
            for (int r = 0; r < m.rowCount(); ++r) {
                const QString text = m.data(m.index(r, c)).toString();
                EXPECT_LE(t.fontMetrics().horizontalAdvance(text) + 4, t.column_width(c))
                    << "column " << c << " cuts \"" << text.toStdString() << '"';
            }
        }
        if (size == sizes[0]) {
            EXPECT_EQ(t.column_width(views::col_left), first_start[views::col_left]);
        }
    }
}

// A click on a title cell that reaches beyond the table's right edge selects its row without
// sliding the table sideways: "Канал" stays in view. Keys still scroll up and down.
TEST_F(ProgPagesTest, ClickOnAHalfVisibleCellDoesNotScrollSideways) {
    ProgramTable& t = pages().active_table();
    t.set_column_width(views::col_title, 1500);
    QApplication::processEvents();
    ASSERT_GT(t.horizontalScrollBar()->maximum(), 0);
    ASSERT_EQ(t.horizontalScrollBar()->value(), 0);
    const int x = t.columnViewportPosition(views::col_title) + 20;
    ASSERT_LT(x, t.viewport()->width());
    for (int row : {1, 0}) {
        const QPoint at(x, t.rowViewportPosition(row) + t.rowHeight(row) / 2);
        QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(t.currentIndex().row(), row);
        EXPECT_EQ(t.horizontalScrollBar()->value(), 0);
        EXPECT_EQ(t.columnViewportPosition(views::col_channel), 0);
    }
    QTest::keyClick(&t, Qt::Key_Down);
    EXPECT_EQ(t.currentIndex().row(), 1);
    EXPECT_EQ(t.horizontalScrollBar()->value(), 0);
}

TEST_F(ProgPagesTest, TableSettingsRoundTrip) {
    // Widths of the user's own (none at its first-start width) come back as they were.
    settings.pages.columns[2] = {0, 31, 60, 57, 0, 46, 44, 300};
    settings.pages.icon_size = 24;
    settings.program_view.letter_abbrev = true;
    settings.personal.day_start = 6;
    // The model was replaced as after loading: the switches show it.
    live.reloaded();
    pages().apply_settings();
    EXPECT_EQ(pages().table(2).column_width(0), 0);
    EXPECT_EQ(pages().table(2).column_width(7), 300);
    EXPECT_TRUE(action(*main, "MPanelProgSize24")->isChecked());
    EXPECT_TRUE(action(*main, "MPanelProgTxt")->isChecked());
    EXPECT_EQ(pages().days().values().time_start, "06:00");

    action(*main, "MPanelProgSize32")->trigger();
    EXPECT_EQ(settings.pages.icon_size, 32);  // in the settings at once
    pages().collect_settings();
    EXPECT_EQ(settings.pages.columns[2], (std::vector<int>{0, 31, 60, 57, 0, 46, 44, 300}));
    // A column at its first-start width shows its caption whole ("Кнопка", "Рейтинг"); the last
    // column takes the rest of the width.
    settings.pages.columns[2] = ProgramPagesSettings::default_columns();
    pages().apply_settings();
    const QHeaderView& header = *pages().table(2).horizontalHeader();
    for (int c : {1, 4, 6}) {
        const QString caption =
            header.model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        EXPECT_GE(pages().table(2).column_width(c), header.fontMetrics().horizontalAdvance(caption))
            << caption.toStdString();
    }
    main->resize(1280, 1024);
    main->show();
    pages().set_page(2);
    QApplication::processEvents();
    EXPECT_EQ(header.sectionViewportPosition(7) + header.sectionSize(7), header.width());
    // Saved and brought back in a narrower window, the stretched column narrows with it: the
    // width kept is its own, not the stretched one.
    pages().collect_settings();
    main->resize(1100, 700);
    pages().apply_settings();
    QApplication::processEvents();
    EXPECT_EQ(header.sectionViewportPosition(7) + header.sectionSize(7), header.width());
    EXPECT_TRUE(settings.program_view.letter_abbrev);
    // A stored size of 20 is read as 16.
    settings.pages.icon_size = 20;
    pages().apply_settings();
    EXPECT_EQ(pages().list_size(), 16);
}

}  // namespace
}  // namespace zt::test
