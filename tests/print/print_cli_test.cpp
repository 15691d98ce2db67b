// zorvan-cli print on a generated program folder: the PDF is read back with pdftotext.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef ZT_CLI

namespace zt::print {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Text without any blanks or line breaks, so a title wrapped over two lines still matches.
std::string squeezed(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\f') out += c;
    return out;
}

class PrintCliTest : public ::testing::Test {
protected:
    fs::path dir;
    const std::string at = " --at \"2026-12-09 12:00\"";

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zt_print_cli_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        ASSERT_EQ(run(std::string("\"") + ZT_CLI + "\" gen --profile small" + at + " " +
                      quoted(dir / "folder"))
                      .status,
                  0);
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string quoted(const fs::path& p) { return "\"" + p.string() + "\""; }

    struct Result {
        int status;
        std::string out, err;
    };
    Result run(const std::string& command) {
        const fs::path out = dir / "out.txt", err = dir / "err.txt";
        const int status =
            std::system((command + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
        return {WEXITSTATUS(status), read_file(out), read_file(err)};
    }
    // Runs zorvan-cli in the locale `locale` (the page header's dates follow it).
    Result cli(const std::string& arguments, const std::string& locale = "ru_RU.UTF-8") {
        return run("LC_ALL=" + locale + " \"" + ZT_CLI + "\" " + arguments + " " +
                   quoted(dir / "folder") + at);
    }
};

TEST_F(PrintCliTest, WeekPdfHoldsTitlesHeadingsAndPageHeaders) {
    const std::string week = " --days 1,2,3,4,5,6,7";
    const auto days = cli("days --json" + week);
    ASSERT_EQ(days.status, 0) << days.err;
    const QJsonArray rows = QJsonDocument::fromJson(QByteArray::fromStdString(days.out)).array();
    ASSERT_GT(rows.size(), 100);

    const fs::path pdf = dir / "week.pdf";
    const auto r = cli("print --pdf " + quoted(pdf) + week + " --columns 4 --colour");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::size_t at_pages = r.err.find("pages: ");
    ASSERT_NE(at_pages, std::string::npos) << r.err;
    const int pages = std::atoi(r.err.c_str() + at_pages + 7);
    ASSERT_GE(pages, 1);

    const auto text = run("pdftotext " + quoted(pdf) + " -");
    ASSERT_EQ(text.status, 0) << text.err;
    const std::string flat = squeezed(text.out);
    // Every programme of the day page, with its start time (the page's title column adds the
    // description in brackets, which the print leaves out).
    for (const auto& v : rows) {
        const QJsonObject row = v.toObject();
        QString title = row["title"].toString();
        const qsizetype descr = title.lastIndexOf(QStringLiteral(" ("));
        if (descr > 0 && title.endsWith(')')) title.truncate(descr);
        const std::string line =
            squeezed(row["start"].toString().toStdString() + title.toStdString());
        EXPECT_NE(flat.find(line), std::string::npos) << line;
    }
    // The channel heading, every day heading and a header on every page.
    const QJsonObject first = rows[0].toObject();
    EXPECT_THAT(text.out, HasSubstr(first["channel"].toString().toStdString() + " [" +
                                    first["button"].toString().toStdString() + "]"));
    for (const char* day :
         {"Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота", "Воскресенье"})
        EXPECT_THAT(text.out, HasSubstr(day));
    EXPECT_THAT(text.out, HasSubstr("\"ЗОРВАН. Телепрограмма.\" - "));
    for (int page = 1; page <= pages; ++page)
        EXPECT_THAT(text.out, HasSubstr("07.12.2026 - 13.12.2026 (стр. " + std::to_string(page) +
                                        "/" + std::to_string(pages) + ")"));
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\f'), pages);
}

// The period in the page header is a Russian date whatever the terminal's locale.
TEST_F(PrintCliTest, HeaderDatesAreRussianInEveryLocale) {
    for (const char* locale : {"ru_RU.UTF-8", "en_US.UTF-8", "C"}) {
        const fs::path pdf = dir / "day.pdf";
        const auto r = cli("print --pdf " + quoted(pdf) + " --days 1 --dpi 96", locale);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto text = run("pdftotext " + quoted(pdf) + " -");
        EXPECT_THAT(text.out, HasSubstr("07.12.2026 - 13.12.2026 (стр. 1/")) << locale;
    }
}

// A column count of 0 is printed in one column and said on standard error.
TEST_F(PrintCliTest, ImpossibleColumnCountIsCorrected) {
    const fs::path pdf = dir / "one.pdf";
    const auto r = cli("print --pdf " + quoted(pdf) + " --columns 0 --dpi 96");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("одна колонка"));
    EXPECT_THAT(r.err, HasSubstr("pages: "));
    EXPECT_TRUE(fs::exists(pdf));
}

}  // namespace
}  // namespace zt::print

#endif
