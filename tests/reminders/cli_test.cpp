// zorvan-cli reminders and ical on a program folder written with the real savers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "scan_fixture.h"
#include "storage/data_files.h"
#include "storage/ini_file.h"

#ifdef ZT_CLI

namespace zt::test {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class RemindersCliTest : public ::testing::Test {
protected:
    fs::path dir;
    ScanStore s;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zt_reminders_cli_" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "dat");
    }
    void TearDown() override { fs::remove_all(dir); }

    void write_folder() {
        s.store->exe_dir = dir.string() + "/";
        Recorder ui;
        user_account user;
        const DataContext ctx{*s.store, ui, ui, user};
        ASSERT_TRUE(save_data_files(ctx, true, true, true, true));
        IniFile ini((dir / "settings.ini").string());
        s.settings.save_all(ini);
    }

    struct Result {
        int status;
        std::string out, err;
    };
    Result run(const std::string& arguments) {
        const fs::path out = dir / "out.txt", err = dir / "err.txt";
        const std::string command = std::string("\"") + ZT_CLI + "\" " + arguments + " \"" +
                                    dir.string() + "\" >\"" + out.string() + "\" 2>\"" +
                                    err.string() + "\"";
        const int status = std::system(command.c_str());
        return {WEXITSTATUS(status), read_file(out), read_file(err)};
    }
};

TEST_F(RemindersCliTest, ScanAtAMinuteWithTheFolderSettings) {
    s.settings.alarm_general.show = 4;  // 10 minutes
    s.prog(3, "2026-03-11 20:10", "Фильм \"Ночь\"");
    s.prog(2, "2026-03-11 19:10", "Сдвинутый", 0);
    write_folder();
    const auto before = read_file(dir / "dat" / "v.dat");

    auto r = run("reminders --at \"2026-03-11 20:00\" --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"at\": \"2026-03-11 20:00\", \"enabled\": true, \"target\": \"2026-03-11 20:10\", "
              "\"hits\": [\n    {\"channel_caption\": \"Третий\", \"channel_hint\": \"\", "
              "\"start_text\": \"20:10\", \"title_text\": \"Фильм \\\"Ночь\\\"\", "
              "\"lead_text\": \"Через 10 мин.\", \"genre_name\": \"\"}\n  ], "
              "\"tray_text\": \"\\r\\nТретий\\r\\n20:10 Фильм \\\"Ночь\\\"\\r\\n\"}\n");

    // --all and --lead override the folder's settings.
    r = run("reminders --at \"2026-03-11 20:05\" --lead 3 --all");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2 reminder(s)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Второй\t20:10 Сдвинутый\tЧерез 5 мин."), std::string::npos) << r.out;

    const auto bad = run("reminders --at \"2026-03-11 20:00\" --lead 10");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("--lead wants a whole number from 0 to 9"), std::string::npos)
        << bad.err;
    EXPECT_EQ(read_file(dir / "dat" / "v.dat"), before);  // nothing written
}

TEST_F(RemindersCliTest, CalendarFile) {
    s.prog(3, "2026-03-11 21:00", "Фильм");
    write_folder();
    const fs::path out = dir / "out.ics";
    auto r = run("ical --at \"2026-03-11 20:00\" --out \"" + out.string() + "\"");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("1 event(s)"), std::string::npos);
    const std::string text = read_file(out);
    EXPECT_NE(text.find("SUMMARY:Фильм\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("TRIGGER:-PT5M\r\n"), std::string::npos) << text;
    EXPECT_EQ(run("ical --out /nonexistent/dir/x.ics").status, 1);
}

}  // namespace
}  // namespace zt::test

#endif
