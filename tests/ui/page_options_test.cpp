// The window and zorvan-cli compute a page from the same settings the same way: the window's
// menus write the live settings, the folder gets them as settings.ini, and the rows the tool
// prints are the rows the window shows.
#include <unistd.h>
#include <QAction>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "prog_fixture.h"
#include "storage/data_files.h"
#include "storage/ini_file.h"
#include "storage/settings_store.h"
#include "ui_helpers.h"
#include "views/logic/page_settings.h"

#ifdef ZT_CLI

namespace zt::test {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::string>;

class PageOptionsTest : public ProgPagesTest {
protected:
    fs::path dir = fs::temp_directory_path() /
                   ("zt_page_options_" + std::to_string(::getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());

    void TearDown() override { fs::remove_all(dir); }

    // "channel start title" of every row of the active table, as the table shows them.
    Rows window_rows() {
        const views::ProgramList& list = view->list;
        Rows out;
        for (const auto& row : list.rows())
            out.push_back(to_utf8(list.cell_text(row, views::col_channel)) + " " +
                          to_utf8(list.cell_text(row, views::col_start)) + " " +
                          to_utf8(list.cell_text(row, views::col_title)));
        return out;
    }

    // The same of `zorvan-cli <command>` on a folder holding the store and the live settings.
    Rows cli_rows(const std::string& command, const std::string& options = "") {
        fs::remove_all(dir);
        fs::create_directories(dir / "dat");
        store->exe_dir = dir.string() + "/";
        Recorder ui;
        user_account user;
        EXPECT_TRUE(save_data_files(DataContext{*store, ui, ui, user}, true, true, true, true));
        IniFile ini((dir / "settings.ini").string());
        settings.save_all(ini);

        const fs::path out = dir / "out.json";
        const std::string line = std::string("\"") + ZT_CLI + "\" " + command + " \"" +
                                 dir.string() + "\" --at \"2026-03-11 20:00:30\" --json " +
                                 options + " >\"" + out.string() + "\" 2>/dev/null";
        EXPECT_EQ(std::system(line.c_str()), 0) << line;
        std::ifstream in(out);
        std::stringstream text;
        text << in.rdbuf();
        const std::string json = text.str();
        static const std::regex row(
            R"re("channel": "([^"]*)".*?"start": "([^"]*)".*?"title": "((?:[^"\\]|\\.)*)")re");
        Rows rows;
        for (auto it = std::sregex_iterator(json.begin(), json.end(), row);
             it != std::sregex_iterator(); ++it)
            rows.push_back((*it)[1].str() + " " + (*it)[2].str() + " " + (*it)[3].str());
        return rows;
    }
};

TEST_F(PageOptionsTest, WindowAndCommandLineAgree) {
    film->descr = "Комедия"_cp;
    settings.channel_group.current = 0;
    pages().RebuildProgramList();
    EXPECT_EQ(window_rows(), cli_rows("now"));
    EXPECT_EQ(window_rows().size(), 2u);

    // "Прошедшие" off and other decorations through the menu and the live store.
    action(*main, "MPanelProgOld")->trigger();
    EXPECT_FALSE(settings.program_view.show_past);
    live.change([](Settings& s) {
        s.personal.descr_left = " [";
        s.personal.descr_right = "]";
    });
    main->set_page(2);
    const Rows days = window_rows();
    EXPECT_EQ(days, cli_rows("days"));
    EXPECT_EQ(days, (Rows{"Первый 20:00 Фильм [Комедия]", "Первый 21:00 Новости"}));

    // "Буквенные сокращения" and dates in the columns on "Скоро".
    action(*main, "MPanelProgTxt")->trigger();
    live.change([](Settings& s) { s.general.view_date = true; });
    EXPECT_TRUE(settings.program_view.letter_abbrev);
    main->set_page(1);
    EXPECT_EQ(window_rows(), cli_rows("soon"));

    // The next week: the week is a setting of the session, given to the tool as an option.
    main->set_page(2);
    action(*main, "MDataWeekNew")->trigger();
    EXPECT_TRUE(settings.program_view.next_week);
    EXPECT_EQ(window_rows(), cli_rows("days", "--week next"));

    // A change of the store shows in the menu, and both computations read it.
    live.change([](Settings& s) { s.program_view.show_past = true; });
    EXPECT_TRUE(action(*main, "MPanelProgOld")->isChecked());
    const views::PageOptions o = pages().page_options();
    EXPECT_TRUE(o.view.show_past && o.view.abbreviations && o.days.next_week);
}

}  // namespace
}  // namespace zt::test

#endif
