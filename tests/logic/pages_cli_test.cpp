// zorvan-cli now / soon / days / find on a program folder written with the real savers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "pages_fixture.h"
#include "storage/data_files.h"
#include "storage/ini_file.h"
#include "storage/settings.h"

#ifdef ZT_CLI

namespace zt::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class PagesCliTest : public PagesTest {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zt_pages_cli_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "dat");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Writes the store's data files and a settings.ini made from `settings`.
    void write_folder(const Settings& settings) {
        store->exe_dir = dir.string() + "/";
        Recorder ui;
        user_account user;
        const DataContext ctx{*store, ui, ui, user};
        ASSERT_TRUE(save_data_files(ctx, true, true, true, true));
        IniFile ini((dir / "settings.ini").string());
        settings.save_all(ini);
    }

    struct Result {
        int status;
        std::string out, err;
    };
    Result run(const std::string& arguments) {
        const fs::path out = dir / "out.txt", err = dir / "err.txt";
        const std::string command = std::string("\"") + ZT_CLI + "\" " + arguments + " >\"" +
                                    out.string() + "\" 2>\"" + err.string() + "\"";
        const int status = std::system(command.c_str());
        return {WEXITSTATUS(status), read_file(out), read_file(err)};
    }
    std::string folder() const { return "\"" + dir.string() + "\""; }
};

TEST_F(PagesCliTest, PagesOfAFolderFollowItsSettingsAndOptions) {
    auto a = channel("Первый", "00:00", "1");
    auto b = channel("Восток", "+03:00", "7");
    prog(a, "2026-03-11 19:00", "2026-03-11 20:00", "Вести");
    prog(a, "2026-03-11 20:00", "2026-03-11 21:00", "Кино \"Ирония судьбы\"")->descr = "Комедия"_cp;
    prog(a, "2026-03-11 21:00", "2026-03-11 22:00", "Новости");
    prog(b, "2026-03-11 16:30", "2026-03-11 17:30", "ВЕСТИ");
    prog(b, "2026-03-11 18:00", "2026-03-11 19:00", "Футбол");
    // A second group with only the shifted channel; start-up shows the saved group.
    auto& second = *store->add_chl_group(2, "Восток"_cp, "");
    store->add_chl_local(second, -1, b->chl_id, b->chl, "Восток+3"_cp, "", "+03:00", "", -1);

    Settings settings;
    settings.channel_group.current = 0;
    settings.program_view.show_past = false;
    settings.personal.descr_left = " [";
    settings.personal.descr_right = "]";
    write_folder(settings);

    auto r = run("now " + folder() + " --at \"2026-03-11 20:00:30\" --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "[\n"
              "  {\"channel\": \"Первый\", \"button\": \"1\", \"start\": \"20:00\", \"finish\": "
              "\"21:00\", \"duration\": \"01:00\", \"left\": \" 01:00   100%\", \"rating\": \"\", "
              "\"title\": \"Кино \\\"Ирония судьбы\\\" [Комедия]\", \"past\": false, "
              "\"left_percent\": 100},\n"
              "  {\"channel\": \"Восток\", \"button\": \"7\", \"start\": \"19:30\", \"finish\": "
              "\"20:30\", \"duration\": \"01:00\", \"left\": \" 00:30   50%\", \"rating\": \"\", "
              "\"title\": \"ВЕСТИ\", \"past\": false, \"left_percent\": 50}\n"
              "]\n");

    // "По дням" on the first channel by default; past programmes are hidden by the settings.
    r = run("days " + folder() + " --at \"2026-03-11 20:00:30\"");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Кино \"Ирония судьбы\" [Комедия]"));
    EXPECT_THAT(r.out, HasSubstr("Новости"));
    EXPECT_THAT(r.out, Not(HasSubstr("Вести")));
    EXPECT_THAT(r.out, Not(HasSubstr("Восток")));
    EXPECT_EQ(r.out.rfind("Канал   Кнопка  Начало  Конец  Длительность", 0), 0u) << r.out;

    // Search across both channels, any letter case; another group with --group.
    r = run("find " + folder() + " --at \"2026-03-11 23:00\" --text вести --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[]\n");  // both are over and past programmes are hidden
    r = run("find " + folder() + " --at \"2026-03-11 19:10\" --text вести --group 1");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Восток+3"));
    EXPECT_THAT(r.out, HasSubstr("ВЕСТИ"));
}

TEST_F(PagesCliTest, BadInputGivesAMessageAndNoRows) {
    channel("Первый");
    write_folder(Settings{});
    struct Case {
        std::string arguments;
        const char* message;
    };
    const Case cases[] = {
        {"soon " + folder() + " --to 25:00", "--to wants a time"},
        {"soon " + folder() + " --offset 3", "--offset wants a whole number from 0 to 2"},
        {"days " + folder() + " --days 0", "--days wants a whole number from 1 to 7"},
        {"days " + folder() + " --week later", "--week wants cur or next"},
        {"now " + folder() + " --channels 5", "--channels wants a whole number from 0 to 0"},
        {"now " + folder() + " --group 3", "--group wants a whole number from 0 to 0"},
        {"now " + folder() + " --text x", "now has no option --text"},
        {"now " + folder() + " --at yesterday", "--at wants"},
        {"find " + folder(), "find wants --text"},
        {"now \"" + (dir / "missing").string() + "\"", "not a program folder"},
    };
    for (const Case& c : cases) {
        const auto r = run(c.arguments);
        EXPECT_NE(r.status, 0) << c.arguments;
        EXPECT_THAT(r.err, HasSubstr(c.message)) << c.arguments;
        EXPECT_EQ(r.out, "") << c.arguments;
    }
}

}  // namespace
}  // namespace zt::test

#endif
