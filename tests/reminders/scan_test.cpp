// The minute scan over a small schedule: which programmes fire, in which order, with which
// texts, and what the delivery does with them.
#include <gtest/gtest.h>

#include <functional>

#include "reminders/logic/alarm_check.h"
#include "reminders/logic/alarm_runner.h"
#include "reminders/logic/alarm_tables.h"
#include "scan_fixture.h"

namespace zt::test {
namespace {

using reminders::AlarmCheck;

// Each hit as "caption|start|title" (UTF-8).
std::vector<std::string> hits(const reminders::AlarmScan& scan) {
    std::vector<std::string> out;
    for (const auto& e : scan.hits)
        out.push_back(to_utf8(e.ChannelCaption + "|" + e.StartText + "|" + e.TitleText));
    return out;
}

struct ScanCase {
    const char* name;
    const char* now;
    std::function<void(ScanStore&)> setup;
    std::vector<std::string> expected;
};

TEST(AlarmScan, WhichProgrammesFire) {
    const std::vector<ScanCase> cases = {
        {"lead 5 at 20:00 finds 20:05",
         "2026-03-11 20:00:59",
         [](ScanStore& s) { s.prog(3, "2026-03-11 20:05", "Фильм"); },
         {"Третий|20:05|Фильм"}},
        {"not a minute before",
         "2026-03-11 19:59:00",
         [](ScanStore& s) { s.prog(3, "2026-03-11 20:05", "Фильм"); },
         {}},
        {"not a minute after",
         "2026-03-11 20:01:00",
         [](ScanStore& s) { s.prog(3, "2026-03-11 20:05", "Фильм"); },
         {}},
        {"plus one hour shift",
         "2026-03-11 20:00:00",
         [](ScanStore& s) {
             s.prog(2, "2026-03-11 19:05", "Сдвиг");
             s.prog(2, "2026-03-11 20:05", "Без сдвига");
         },
         {"Второй|20:05|Сдвиг"}},
        {"a channel in two groups fires twice",
         "2026-03-11 20:00:00",
         [](ScanStore& s) { s.prog(1, "2026-03-11 20:05", "Дважды"); },
         {"[1] Первый|20:05|Дважды", "Первый|20:05|Дважды"}},
        {"one hit per channel in a group",
         "2026-03-11 20:00:00",
         [](ScanStore& s) {
             s.prog(3, "2026-03-11 20:05", "Первая");
             s.prog(3, "2026-03-11 20:05", "Вторая");
         },
         {"Третий|20:05|Первая"}},
        {"unflagged and ungrouped programmes stay quiet",
         "2026-03-11 20:00:00",
         [](ScanStore& s) {
             s.prog(3, "2026-03-11 20:05", "Без флага", 0);
             s.prog(4, "2026-03-11 20:05", "Вне групп");
         },
         {}},
        {"all programmes",
         "2026-03-11 20:00:00",
         [](ScanStore& s) {
             s.settings.alarm_switches.all_programmes = true;
             s.prog(3, "2026-03-11 20:05", "Без флага", 0);
             s.prog(4, "2026-03-11 20:05", "Вне групп", 0);
         },
         {"Третий|20:05|Без флага"}},
        {"reminders off",
         "2026-03-11 20:00:00",
         [](ScanStore& s) {
             s.settings.alarm_switches.enabled = false;
             s.prog(3, "2026-03-11 20:05", "Фильм");
         },
         {}},
        {"lead one hour, changed just before the scan",
         "2026-03-11 20:00:00",
         [](ScanStore& s) {
             s.settings.alarm_general.show = 9;
             s.prog(3, "2026-03-11 20:05", "Через пять");
             s.prog(3, "2026-03-11 21:00", "Через час");
         },
         {"Третий|21:00|Через час"}},
        {"the lead 'now' with a shift",
         "2026-03-11 23:59:00",
         [](ScanStore& s) {
             s.settings.alarm_general.show = 0;
             s.prog(2, "2026-03-11 22:59", "Полночь со сдвигом");
         },
         {"Второй|23:59|Полночь со сдвигом"}},
    };
    for (const auto& c : cases) {
        ScanStore s;
        c.setup(s);
        EXPECT_EQ(hits(AlarmCheck(*s.store, s.settings, at(c.now))), c.expected) << c.name;
    }
}

TEST(AlarmScan, EventTextsOfAHit) {
    ScanStore s;
    s.settings.program_view.letter_abbrev = true;
    const type_serv_list* genre = s.store->find_type(2, 1);
    ASSERT_NE(genre, nullptr);
    const_cast<type_serv_list*>(genre)->abbr = "К"_cp;
    s.prog(1, "2026-03-11 20:05", "Кино", 1, 2, 1);
    s.prog(2, "2026-03-11 19:05", "Без жанра");

    const auto scan = AlarmCheck(*s.store, s.settings, at("2026-03-11 20:00"));
    ASSERT_EQ(scan.hits.size(), 3u);
    const auto& e = scan.hits[0];
    EXPECT_EQ(to_utf8(e.LeadText), "Через 5 мин.");
    EXPECT_EQ(e.ChannelLogo, 5);
    EXPECT_EQ(e.GenreName, genre->name);
    EXPECT_EQ(e.GenreIcon, 2 + 3);
    EXPECT_EQ(to_utf8(e.ChannelCaption), "[1] Первый");
    EXPECT_EQ(to_utf8(e.ChannelHint), "Свой\r\n----------\r\nС сервера");
    EXPECT_EQ(to_utf8(e.TitleText), "К \"Кино\"");
    EXPECT_EQ(e.HideCountdown, 10);

    const auto& plain = scan.hits[1];
    EXPECT_EQ(plain.GenreIcon, -1);
    EXPECT_EQ(plain.GenreName, "");
    EXPECT_EQ(plain.ChannelHint, "");  // neither description
    EXPECT_EQ(to_utf8(plain.TitleText), "Без жанра");
    // The member in the second group has no description of its own.
    EXPECT_EQ(to_utf8(scan.hits[2].ChannelHint), "С сервера");
}

TEST(AlarmScan, LookupTablesOutsideTheirRange) {
    EXPECT_EQ(reminders::AlarmLeadTime(9), DateTime::fromMinutes(60));
    EXPECT_EQ(reminders::AlarmLeadTime(10), DateTime());
    EXPECT_EQ(reminders::AlarmLeadTime(-1), DateTime());
    EXPECT_EQ(to_utf8(reminders::AlarmLeadText(42)), "Сейчас");
    EXPECT_EQ(reminders::AlarmHideSeconds(0), 10);
    EXPECT_EQ(reminders::AlarmHideSeconds(11), 1800);
    EXPECT_EQ(reminders::AlarmHideSeconds(12), 10);
}

// Three hits with every channel on: three tabs, the program once, one sound, one balloon of
// three entries, the display with the third hit.
TEST(AlarmDeliveryRun, ThreeHitsEveryChannel) {
    ScanStore s;
    auto& sw = s.settings.alarm_switches;
    sw.sound = sw.tray = sw.osd = true;
    s.settings.alarm_general.tray = 0;
    s.settings.alarm_general.prog_start = "/usr/bin/true";
    s.settings.alarm_general.prog_param = "\"a b\" c";
    s.prog(1, "2026-03-11 20:05", "Один");
    s.prog(2, "2026-03-11 19:05", "Два");
    s.prog(3, "2026-03-11 20:05", "Три");
    s.store->chl_groups.pop_back();  // channel 1 once only

    DeliveryRecorder out;
    reminders::AlarmRunner runner(*s.store, s.settings, out);
    runner.AlarmCheck();
    const std::vector<std::string> expected = {"add [1] Первый 10",
                                               "add Второй 10",
                                               "add Третий 10",
                                               "program /usr/bin/true \"a b\" c",
                                               "show",
                                               "sound",
                                               "tray Через 5 мин. 10000",
                                               "osd Третий"};
    EXPECT_EQ(out.lines, expected);
    EXPECT_EQ(
        out.balloon,
        "\r\n[1] Первый\r\n20:05 Один\r\n\r\nВторой\r\n20:05 Два\r\n\r\nТретий\r\n20:05 Три\r\n");
    EXPECT_EQ(out.timer_enables, 3);
    EXPECT_EQ(to_utf8(runner.event().ChannelCaption), "Третий");
}

TEST(AlarmDeliveryRun, BalloonOnlyFromTheTrayWhenAsked) {
    ScanStore s;
    s.settings.alarm_switches.window = false;
    s.settings.alarm_switches.tray = true;  // "Когда свернуто в трей" is the default
    s.prog(3, "2026-03-11 20:05", "Фильм");
    DeliveryRecorder out;
    reminders::AlarmRunner runner(*s.store, s.settings, out);
    runner.AlarmCheck();
    EXPECT_TRUE(out.lines.empty());
    EXPECT_EQ(out.timer_enables, 1);

    out.tray_on = true;
    runner.AlarmCheck();
    EXPECT_EQ(out.lines, std::vector<std::string>{"tray Через 5 мин. 10000"});
}

TEST(AlarmDeliveryRun, TurnedOffDropsTheTrayText) {
    ScanStore s;
    s.settings.alarm_switches.tray = true;
    s.prog(3, "2026-03-11 20:05", "Фильм");
    DeliveryRecorder out;
    reminders::AlarmRunner runner(*s.store, s.settings, out);
    EXPECT_FALSE(runner.AlarmCheck().TrayText.empty());
    s.settings.alarm_switches.enabled = false;
    EXPECT_TRUE(runner.AlarmCheck().TrayText.empty());
}

// The display countdown: tick n is the n-th second after the scan.
TEST(AlarmCountdown, FiveSecondsClosesTheWindowAtTheSixthTick) {
    ScanStore s;
    s.settings.alarm_switches.tray = true;
    s.settings.alarm_general.tray = 0;
    s.settings.alarm_general.hide = 2;  // 5 seconds
    s.settings.alarm_sound.stop_at_end = true;
    s.prog(3, "2026-03-11 20:05", "Фильм");
    DeliveryRecorder out;
    reminders::AlarmRunner runner(*s.store, s.settings, out);
    runner.AlarmCheck();
    out.lines.clear();
    for (int t = 1; t <= 5; ++t) {
        runner.tick();
        EXPECT_EQ(out.bar, t);
        EXPECT_EQ(runner.HideCountdown(), 5 - t);
    }
    EXPECT_EQ(out.lines, (std::vector<std::string>{"sound stop", "tray clear"}));
    runner.tick();
    EXPECT_EQ(out.lines.back(), "close");
    EXPECT_EQ(runner.HideCountdown(), -1);
    runner.tick();  // idle: nothing more
    EXPECT_EQ(out.lines.size(), 3u);
}

TEST(AlarmCountdown, NeverKeepsWindowAndBalloon) {
    for (bool sound_end : {false, true}) {
        ScanStore s;
        auto& sw = s.settings.alarm_switches;
        sw.sound = sw.tray = true;
        s.settings.alarm_general.tray = 0;
        s.settings.alarm_general.hide = 0;  // "Никогда"
        s.settings.alarm_sound.stop_at_end = sound_end;
        s.prog(3, "2026-03-11 20:05", "Фильм");
        DeliveryRecorder out;
        reminders::AlarmRunner runner(*s.store, s.settings, out);
        runner.AlarmCheck();
        EXPECT_EQ(out.lines[0], "add Третий 0");  // no progress bar
        EXPECT_EQ(out.lines.back(), "tray Через 5 мин. 10000");
        out.lines.clear();
        for (int t = 0; t < 100; ++t) runner.tick();
        EXPECT_EQ(out.tabs, 1);
        EXPECT_EQ(out.lines,
                  sound_end ? std::vector<std::string>{"sound stop"} : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace zt::test
