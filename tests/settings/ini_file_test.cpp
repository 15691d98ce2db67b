#include "storage/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/cp1251.h"
#include "temp_folder.h"

namespace zt {
namespace {

using test::read_bytes;
using test::TempFolder;
using test::write_bytes;

TEST(IniFile, ReadsSectionsAndKeysLikeAProfile) {
    IniFile ini;
    ini.parse(
        "; made by hand\n"
        "[wm]\n"
        "  w =  640  \n"
        "H=\t480\t\n"
        "W=1\n"  // a later duplicate does not win
        "garbage line\n"
        "=no key\n"
        "[ GU ]\n"
        "D1=$(\n"
        "[WM]\n"  // a later duplicate section does not win either
        "W=2\n");

    EXPECT_EQ(ini.value("WM", "W"), "640");
    EXPECT_EQ(ini.value("Wm", "h"), "480");
    EXPECT_EQ(ini.value("GU", "D1"), "$(");
    EXPECT_FALSE(ini.value("WM", "T").has_value());
    EXPECT_FALSE(ini.value("XX", "W").has_value());
    EXPECT_EQ(ini.read_int("WM", "W", 0), 640);
    EXPECT_EQ(ini.read_string("WM", "L", "dflt"), "dflt");
}

TEST(IniFile, NumbersAndBooleans) {
    struct Case {
        const char* text;
        std::optional<long> value;
    };
    const Case cases[] = {
        {"12", 12},
        {" -5 ", -5},
        {"+7", 7},
        {"0", 0},
        {"-16777201", -16777201},  // a system colour
        {"2147483647", 2147483647},
        {"$FF", 255},
        {"0x1F", 31},
        {"$FF00000F", -16777201},
        {"2147483648", std::nullopt},
        {"12abc", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1 2", std::nullopt},
        {"99999999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parse_profile_int(c.text), c.value) << '"' << c.text << '"';
    }

    IniFile ini;
    ini.parse("[S]\nA=0\nB=2\nC=-1\nD=yes\nE=\nN=x7\n");
    EXPECT_FALSE(ini.read_bool("S", "A", true));
    EXPECT_TRUE(ini.read_bool("S", "B", false));
    EXPECT_TRUE(ini.read_bool("S", "C", false));
    EXPECT_TRUE(ini.read_bool("S", "D", true));  // not a number: the default
    EXPECT_FALSE(ini.read_bool("S", "E", false));
    EXPECT_TRUE(ini.read_bool("S", "Z", true));  // missing: the default
    EXPECT_EQ(ini.read_int("S", "N", 42), 42);
}

TEST(IniFile, WritingKeepsWhatItDoesNotOwn) {
    IniFile ini;
    ini.parse(
        "; comment\n"
        "[WM]\n"
        "W=640\n"
        "XTRA=keep me\n"
        "\n"
        "[OTHER]\n"
        "K=v\n");
    ini.write_int("wm", "w", 800);     // updated where it stands, spelling of the file kept
    ini.write_int("WM", "H", 570);     // appended to its section
    ini.write_bool("NEW", "A", true);  // a new section at the end
    EXPECT_EQ(ini.text(),
              "; comment\n"
              "[WM]\n"
              "W=800\n"
              "XTRA=keep me\n"
              "H=570\n"
              "\n"
              "[OTHER]\n"
              "K=v\n"
              "\n"
              "[NEW]\n"
              "A=1\n");

    IniFile again;
    again.parse(ini.text());
    EXPECT_EQ(again.text(), ini.text());
    EXPECT_EQ(again.sections(), (std::vector<std::string>{"WM", "OTHER", "NEW"}));
    EXPECT_EQ(again.keys("WM"), (std::vector<std::string>{"W", "XTRA", "H"}));
}

TEST(IniFile, AValueCannotAddLinesToTheFile) {
    IniFile ini;
    ini.write_string("GP", "ED", "secret\r\n[GG]\nCLA=1");
    IniFile again;
    again.parse(ini.text());
    EXPECT_EQ(again.sections(), std::vector<std::string>{"GP"});
    EXPECT_EQ(again.value("GP", "ED"), "secret  [GG] CLA=1");
}

TEST(IniFile, Cp1251AndLineEndsRoundTripThroughTheFile) {
    TempFolder dir;
    const std::string path = dir.file("settings.ini");
    // A file made on Windows: CR LF line ends and CP1251 text.
    write_bytes(path, "[GP]\r\nEU=" + "Пользователь"_cp + "\r\n");

    IniFile ini(path);
    EXPECT_EQ(ini.value("GP", "EU"), "Пользователь"_cp);
    std::string all_bytes;
    for (int b = 0x80; b <= 0xFF; ++b) all_bytes += char(b);
    ini.write_string("AS", "EF", all_bytes);
    ini.save();

    EXPECT_EQ(read_bytes(path),
              "[GP]\r\nEU=" + "Пользователь"_cp + "\r\n\r\n[AS]\r\nEF=" + all_bytes + "\r\n");
    const IniFile back(path);
    EXPECT_EQ(back.value("AS", "EF"), all_bytes);
    EXPECT_EQ(back.value("GP", "EU"), "Пользователь"_cp);
}

TEST(IniFile, ReadingNeverFails) {
    TempFolder dir;
    IniFile missing(dir.file("nothing-here.ini"));
    EXPECT_TRUE(missing.sections().empty());

    std::filesystem::create_directory(dir.file("a-folder"));
    IniFile folder(dir.file("a-folder"));
    EXPECT_TRUE(folder.sections().empty());

    // Binary junk gives whatever lines it holds and no failure.
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += char((i * 7919) & 0xFF);
    IniFile any;
    any.parse(junk);
    any.parse(std::string("[unterminated\n[]\n=\n[A]B=C\n\0\0\0", 29));
    EXPECT_TRUE(any.has_section(""));
    EXPECT_TRUE(any.has_section("a"));

    // Whatever was read is written back so that reading it again gives the same profile.
    const std::string odd[] = {
        junk,
        "\xEF\xBB\xBF[WM]\r\nW=1\r\n",
        "\v\xEF\xBB\xBF:\tD1=\r\n[GU]\n",
        "x\r\r\n[A]\r\r\nK=v\r\r\n",
        "x\ny\r\r\n",
        " \t\xEF\xBB\xBF[WPP1]x=y\n",
    };
    for (const std::string& text : odd) {
        IniFile first;
        first.parse(text);
        IniFile second;
        second.parse(first.text());
        EXPECT_EQ(second.text(), first.text());
        EXPECT_EQ(second.sections(), first.sections());
    }
}

TEST(IniFile, RefusedWriteNamesTheFileAndChangesNothing) {
    TempFolder dir;
    const std::string path = dir.file("settings.ini");
    const std::string original = "[WM]\nW=640\n";
    write_bytes(path, original);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);

    IniFile ini(path);
    ini.write_int("WM", "W", 800);
    try {
        ini.save();
        FAIL() << "a read-only file was written";
    } catch (const SettingsWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
        EXPECT_EQ(e.path(), path);
    }
    EXPECT_EQ(read_bytes(path), original);

    IniFile nowhere(dir.file("no-such-folder/settings.ini"));
    nowhere.write_int("WM", "W", 800);
    EXPECT_THROW(nowhere.save(), SettingsWriteError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("no-such-folder")));
}

TEST(IniFile, SaveLeavesNoTemporaryFilesBehind) {
    TempFolder dir;
    const std::string path = dir.file("settings.ini");
    IniFile ini(path);
    ini.write_int("WM", "W", 800);
    ini.save();
    ini.write_int("WM", "W", 801);
    ini.save();
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file(""))) {
        EXPECT_EQ(entry.path().filename(), "settings.ini");
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_EQ(read_bytes(path), "[WM]\nW=801\n");
}

}  // namespace
}  // namespace zt
