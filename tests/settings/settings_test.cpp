#include "storage/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/cp1251.h"
#include "temp_folder.h"

namespace zt {
namespace {

using test::read_bytes;
using test::TempFolder;
using test::write_bytes;

constexpr SettingsGroup all_groups[] = {SettingsGroup::layout, SettingsGroup::general,
                                        SettingsGroup::reminders, SettingsGroup::printing};

// Every stored member set to a value other than its default.
Settings changed_settings() {
    Settings s;
    s.main_window = {1024, 700, 30, 40, 2};
    s.side_panel = {false, false, false, false, true, false, {200, 500, 5, 6}};
    s.channel_panel = {{150, 240, 1, 2}, false, {120, 0}, 24};
    s.genre_panel = {{151, 260, 250, 3}, false, 32};
    s.pages.geometry = {480, 520, 4, 170};
    s.pages.icon_size = 32;
    for (std::size_t p = 0; p < s.pages.columns.size(); ++p) {
        s.pages.columns[p] = {int(100 + p), 0, 60, 61, 0, 47, 48, int(300 + p)};
    }
    s.program_view = {false, true};
    s.alarm_switches = {false, false, true, true, true, true};
    s.download_dialog = {1, true};
    s.download = {false, false};
    s.channel_group.current = 3;

    s.general = {1, 2, false, true, false, false, true, true, true, true, true, true, false};
    s.proxy = {false, true, "proxy.local", "3128", "Пользователь"_cp, "пароль 1"_cp};
    s.personal = {" [", "] ", true, false, true, true, true, "5", "07:30", "60", 6, "30", 2};
    s.view = {0x010203,           0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112,
              0x131415,           0x161718, 0x191A1B, 0x1C1D1E, 0x1F2021, 0x222324,
              "Liberation Serif", 11,       true,     true};
    s.service.host = "127.0.0.1:8080";

    s.alarm_general = {9, 11, 0, "/usr/bin/вызов"_cp, "--x 1", 2, 300, 150};
    s.alarm_window = {2, true, 0, 1, 1, 5, 0};
    s.alarm_sound = {7, "/home/u/Звук.wav"_cp, true};
    s.alarm_osd = {1, true, 2, true, 2, 1, 1, 0x123456, -16777201};

    s.print_page.colour_mode = 1;
    s.print_page.font_name = "DejaVu Sans";
    s.print_page.font_size = 12;
    s.print_page.font_bold = true;
    s.print_page.font_italic = true;
    s.print_page.margin_left = "110";
    s.print_page.margin_right = "120";
    s.print_page.margin_top = "130";
    s.print_page.margin_bottom = "140";
    s.print_page.page_numbers = false;
    s.print_page.merge_parts = true;
    s.print_page.colour_symbols = true;
    s.print_page.love_no = {false, "--", 1};
    s.print_page.mark = {false, "**", 2};
    s.print_page.love_yes = {false, "++", 3};
    s.print_page.alarm = {false, "!!", 4};
    s.print_columns = {"3", "40", true, true, true, true, 5, true, 6};
    s.print_line = {true, false, 2, true, 7, true, 1, true, true, true, false, "80", false};
    return s;
}

// The members of one group, for comparing groups separately.
struct Layout {
    MainWindowSettings a;
    SidePanelSettings b;
    ChannelPanelSettings c;
    GenrePanelSettings d;
    ProgramPagesSettings e;
    ProgramViewSettings f;
    AlarmSwitchSettings g;
    DownloadDialogSettings h;
    DownloadSettings i;
    ChannelGroupSettings j;
    bool operator==(const Layout&) const = default;
};
struct General {
    GeneralSettings a;
    ProxySettings b;
    PersonalSettings c;
    ViewSettings d;
    ServiceSettings e;
    bool operator==(const General&) const = default;
};
struct Reminders {
    AlarmGeneralSettings a;
    AlarmWindowSettings b;
    AlarmSoundSettings c;
    AlarmOsdSettings d;
    bool operator==(const Reminders&) const = default;
};
struct Printing {
    PrintPageSettings a;
    PrintColumnSettings b;
    PrintLineSettings c;
    bool operator==(const Printing&) const = default;
};

bool same_group(const Settings& x, const Settings& y, SettingsGroup g) {
    switch (g) {
        case SettingsGroup::layout:
            return Layout{x.main_window, x.side_panel,   x.channel_panel,  x.genre_panel,
                          x.pages,       x.program_view, x.alarm_switches, x.download_dialog,
                          x.download,    x.channel_group} ==
                   Layout{y.main_window, y.side_panel,   y.channel_panel,  y.genre_panel,
                          y.pages,       y.program_view, y.alarm_switches, y.download_dialog,
                          y.download,    y.channel_group};
        case SettingsGroup::general:
            return General{x.general, x.proxy, x.personal, x.view, x.service} ==
                   General{y.general, y.proxy, y.personal, y.view, y.service};
        case SettingsGroup::reminders:
            return Reminders{x.alarm_general, x.alarm_window, x.alarm_sound, x.alarm_osd} ==
                   Reminders{y.alarm_general, y.alarm_window, y.alarm_sound, y.alarm_osd};
        case SettingsGroup::printing:
            return Printing{x.print_page, x.print_columns, x.print_line} ==
                   Printing{y.print_page, y.print_columns, y.print_line};
    }
    return false;
}

const char* group_name(SettingsGroup g) {
    switch (g) {
        case SettingsGroup::layout:
            return "layout";
        case SettingsGroup::general:
            return "general";
        case SettingsGroup::reminders:
            return "reminders";
        case SettingsGroup::printing:
            return "printing";
    }
    return "?";
}

TEST(Settings, EmptyFileGivesTheFirstStartValues) {
    TempFolder dir;
    write_bytes(dir.file("settings.ini"), "");
    IniFile ini(dir.file("settings.ini"));
    Settings s;
    s.load_all(ini);
    EXPECT_EQ(s, Settings{});

    // What a first start shows.
    EXPECT_TRUE(s.side_panel.pos_left && s.side_panel.show_channels && s.side_panel.show_types);
    EXPECT_TRUE(s.channel_panel.detailed && s.genre_panel.detailed);
    EXPECT_EQ(s.channel_panel.icon_size, 16);
    EXPECT_EQ(s.pages.icon_size, 16);
    EXPECT_TRUE(s.alarm_switches.enabled && s.alarm_switches.window);
    EXPECT_EQ(s.alarm_general.show, 3);  // "За 5 мин. до начала"
    EXPECT_EQ(s.personal.descr_left, " (");

    // Saving the defaults and reading them back changes nothing.
    s.save_all(ini);
    Settings back;
    back.main_window.width = 1;  // must be overwritten from the file
    back.load_all(IniFile(dir.file("settings.ini")));
    EXPECT_EQ(back, Settings{});
    // The file shows the stored forms of the defaults.
    const IniFile file(dir.file("settings.ini"));
    EXPECT_EQ(file.value("GU", "D1"), "$(");
    EXPECT_EQ(file.value("GV", "C8"), std::to_string(0xFF0000));
    EXPECT_EQ(file.value("PC", "HND2"), "15055032");
    EXPECT_EQ(file.value("CGR", "C"), "-1");
    EXPECT_FALSE(file.has_section("ZORVAN"));  // the default host needs no entry
}

TEST(Settings, EachGroupRoundTripsAloneAndTouchesNoOtherGroup) {
    const Settings changed = changed_settings();
    for (SettingsGroup g : all_groups) {
        SCOPED_TRACE(group_name(g));
        TempFolder dir;
        IniFile ini(dir.file("settings.ini"));
        changed.save_group(ini, g);

        Settings back;
        back.load_all(IniFile(dir.file("settings.ini")));
        for (SettingsGroup other : all_groups) {
            EXPECT_TRUE(same_group(back, other == g ? changed : Settings{}, other))
                << "group " << group_name(other);
        }
    }
}

TEST(Settings, SectionsAreWrittenInTheirGroupsOrder) {
    TempFolder dir;
    IniFile ini(dir.file("settings.ini"));
    changed_settings().save_all(ini);
    const std::vector<std::string> order{"WM",   "WPU",  "WPC", "WPT", "WPP",    "WPP1", "WPP2",
                                         "WPP3", "WPP4", "CHP", "CHA", "CHU",    "CHD",  "CGR",
                                         "GG",   "GU",   "GP",  "GV",  "ZORVAN", "AG",   "AW",
                                         "AS",   "AO",   "PP",  "PC",  "PS"};
    EXPECT_EQ(IniFile(dir.file("settings.ini")).sections(), order);
}

TEST(Settings, DescriptionDecorationsKeepTheirSpaces) {
    TempFolder dir;
    IniFile ini(dir.file("settings.ini"));
    Settings s;
    s.personal.descr_left = " [";
    s.personal.descr_right = " ] ";
    s.save_group(ini, SettingsGroup::general);
    const IniFile file(dir.file("settings.ini"));
    EXPECT_EQ(file.value("GU", "D1"), "$[");
    EXPECT_EQ(file.value("GU", "D2"), "$]$");

    Settings back;
    back.load_group(file, SettingsGroup::general);
    EXPECT_EQ(back.personal.descr_left, " [");
    EXPECT_EQ(back.personal.descr_right, " ] ");

    IniFile hand;
    hand.parse("[GU]\nD1=\nD2=  $-$  \n");
    back.load_group(hand, SettingsGroup::general);
    EXPECT_EQ(back.personal.descr_left, "");
    EXPECT_EQ(back.personal.descr_right, " - ");

    // A line break inside a decoration becomes a blank and survives further saves unchanged.
    s.personal.descr_left = "(\r\n";
    s.save_group(ini, SettingsGroup::general);
    EXPECT_EQ(IniFile(dir.file("settings.ini")).value("GU", "D1"), "($$");
    back.load_group(IniFile(dir.file("settings.ini")), SettingsGroup::general);
    EXPECT_EQ(back.personal.descr_left, "(  ");
}

TEST(Settings, ValuesAreSettledOnLoading) {
    struct Case {
        const char* file;
        void (*check)(const Settings&);
    };
    const Case cases[] = {
        {"[WPC]\nS=20\n[WPT]\nS=24\n[WPP]\nS=32\n",
         [](const Settings& s) {
             EXPECT_EQ(s.channel_panel.icon_size, 16);
             EXPECT_EQ(s.genre_panel.icon_size, 24);
             EXPECT_EQ(s.pages.icon_size, 32);
         }},
        {"[WPC]\nS=-1\n[WPP]\nS=abc\n",
         [](const Settings& s) {
             EXPECT_EQ(s.channel_panel.icon_size, 16);
             EXPECT_EQ(s.pages.icon_size, 16);
         }},
        // The side panel positions are one radio group.
        {"[WPU]\nHL=0\nHU=1\n",
         [](const Settings& s) {
             EXPECT_TRUE(s.side_panel.pos_up);
             EXPECT_FALSE(s.side_panel.pos_left || s.side_panel.pos_right || s.side_panel.pos_down);
         }},
        {"[WPU]\nHL=0\nHR=0\nHU=0\nHD=0\n",
         [](const Settings& s) { EXPECT_TRUE(s.side_panel.pos_left); }},
        {"[WPU]\nHL=1\nHR=1\n",
         [](const Settings& s) {
             EXPECT_TRUE(s.side_panel.pos_right);
             EXPECT_FALSE(s.side_panel.pos_left);
         }},
        // The desktop's proxy replaces the manual one.
        {"[GP]\nCI=1\nCP=1\nES=p\n",
         [](const Settings& s) {
             EXPECT_FALSE(s.proxy.use_proxy);
             EXPECT_EQ(s.proxy.server, "p");
         }},
        {"[GP]\nCI=0\nCP=1\n", [](const Settings& s) { EXPECT_TRUE(s.proxy.use_proxy); }},
        // A page per day or channel needs its heading.
        {"[PC]\nND=1\nHND1=0\nNC=0\nHNC1=0\n",
         [](const Settings& s) {
             EXPECT_TRUE(s.print_columns.day_heading);
             EXPECT_FALSE(s.print_columns.channel_heading);
         }},
        // Numbers that are not numbers keep the defaults; other numbers are kept as they are.
        {"[WM]\nW=wide\nH=\nT=12px\nS=7\n[AG]\nCS=15\n[GV]\nC2=-16777201\n",
         [](const Settings& s) {
             EXPECT_EQ(s.main_window.width, 800);
             EXPECT_EQ(s.main_window.height, 570);
             EXPECT_EQ(s.main_window.top, 0);
             EXPECT_EQ(s.main_window.state, 7);
             EXPECT_EQ(s.alarm_general.show, 15);
             EXPECT_EQ(s.view.back, -16777201);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        IniFile ini;
        ini.parse(c.file);
        Settings s;
        s.load_all(ini);
        c.check(s);
    }
}

// "Нет" in a settings dialog reloads its group: a key the file lacks (an installation writes an
// empty file) or cannot be read must undo the change, except where the window's current value
// is the default (panel geometry, column widths, icon sizes, the table font).
TEST(Settings, MissingOrUnreadableKeysGiveTheDefaultsOnReload) {
    const Settings changed = changed_settings();
    Settings expected;
    expected.side_panel.geometry = changed.side_panel.geometry;
    expected.channel_panel.geometry = changed.channel_panel.geometry;
    expected.channel_panel.columns = changed.channel_panel.columns;
    expected.channel_panel.icon_size = changed.channel_panel.icon_size;
    expected.genre_panel.geometry = changed.genre_panel.geometry;
    expected.genre_panel.icon_size = changed.genre_panel.icon_size;
    expected.pages = changed.pages;
    expected.view.font_name = changed.view.font_name;
    expected.view.font_size = changed.view.font_size;

    const char* files[] = {
        "",
        "[WM]\nW=wide\n[CGR]\nC=x\n[GG]\nMS=fast\n[GV]\nC1=red\n[AG]\nCS=\n[PP]\nF2=big\n",
    };
    for (const char* text : files) {
        SCOPED_TRACE(text);
        IniFile ini;
        ini.parse(text);
        for (SettingsGroup g : all_groups) {
            Settings s = changed;
            s.load_group(ini, g);
            EXPECT_TRUE(same_group(s, expected, g)) << "group " << group_name(g);
            for (SettingsGroup other : all_groups) {
                if (other != g) {
                    EXPECT_TRUE(same_group(s, changed, other)) << group_name(other);
                }
            }
        }
    }
}

TEST(Settings, ExtraColumnsAndUnknownEntriesSurviveASave) {
    TempFolder dir;
    const std::string path = dir.file("settings.ini");
    write_bytes(path,
                "; my notes\n"
                "[WPP1]\nC0=99\nC8=33\n"
                "[WM]\nW=900\nX=keep\n"
                "[PLUGIN]\nA=1\n"
                "[GU]\nD1=$<\n");
    IniFile ini(path);
    Settings s;
    s.load_all(ini);
    EXPECT_EQ(s.pages.columns[0][0], 99);
    EXPECT_EQ(s.main_window.width, 900);
    EXPECT_EQ(s.personal.descr_left, " <");
    s.main_window.width = 901;
    s.save_all(ini);

    const IniFile file(path);
    EXPECT_EQ(file.value("WPP1", "C8"), "33");
    EXPECT_EQ(file.value("WM", "X"), "keep");
    EXPECT_EQ(file.value("PLUGIN", "A"), "1");
    EXPECT_EQ(file.value("WM", "W"), "901");
    EXPECT_EQ(read_bytes(path).rfind("; my notes\n", 0), 0u);
}

TEST(Settings, RefusedSaveRaisesTheErrorAndKeepsFileAndProfile) {
    TempFolder dir;
    const std::string path = dir.file("settings.ini");
    Settings saved;
    saved.proxy.port = "3128";
    {
        IniFile ini(path);
        saved.save_all(ini);
    }
    const std::string before = read_bytes(path);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);

    IniFile ini(path);
    Settings edited = saved;
    edited.proxy.port = "8080";
    edited.main_window.width = 1000;
    for (SettingsGroup g : all_groups) {
        try {
            edited.save_group(ini, g);
            ADD_FAILURE() << "saved to a read-only file: " << group_name(g);
        } catch (const SettingsWriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
        }
    }
    EXPECT_THROW(edited.save_all(ini), SettingsWriteError);
    EXPECT_EQ(read_bytes(path), before);

    // "Нет" reloads the group: it comes back as the file holds it.
    edited.load_group(ini, SettingsGroup::general);
    EXPECT_EQ(edited.proxy.port, "3128");
    edited.load_all(ini);
    EXPECT_EQ(edited, saved);
}

TEST(Settings, DerivedValues) {
    Settings s;
    s.general.love_alarm = true;
    s.personal.rating_alarm = true;
    s.personal.rating_threshold = "80";
    const int keep[][2] = {{0, 30}, {1, 90}, {2, 180}, {7, 90}, {-1, 90}};
    for (const auto& [item, days] : keep) {
        s.personal.love_keep = item;
        const MaintenanceOptions o = maintenance_options(s);
        EXPECT_EQ(o.love_keep_days, days) << "item " << item;
        EXPECT_TRUE(o.alarm_on_liked);
        EXPECT_TRUE(o.rating_alarm);
        EXPECT_EQ(o.rating_threshold, "80");
    }

    EXPECT_EQ(wheel_step(0), 50);
    EXPECT_EQ(wheel_step(1), 20);
    EXPECT_EQ(wheel_step(2), 2);
    EXPECT_EQ(wheel_step(-3), 2);

    EXPECT_EQ(day_start_text(0), "00:00");
    EXPECT_EQ(day_start_text(9), "09:00");
    EXPECT_EQ(day_start_text(23), "23:00");
    EXPECT_EQ(day_start_text(24), "00:00");

    EXPECT_EQ(monitor_index(3, 1), 0);  // index 3 with one monitor: the primary
    EXPECT_EQ(monitor_index(1, 2), 1);
    EXPECT_EQ(monitor_index(-1, 2), 0);

    EXPECT_EQ(colour_red(0xE0E0FF), 0xFF);
    EXPECT_EQ(colour_blue(0xE0E0FF), 0xE0);
    EXPECT_EQ(make_colour(255, 224, 224), 14737663);
    EXPECT_TRUE(is_system_colour(-16777201));
    EXPECT_FALSE(is_system_colour(0xFFFFFF));
}

}  // namespace
}  // namespace zt
