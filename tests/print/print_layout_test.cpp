#include <gtest/gtest.h>

#include "print/logic/print_lines.h"
#include "print_fixture.h"

namespace zt::print {
namespace {

using namespace test;

// Options with no headings and only the title, so a test sees what it is about.
PrintOptions bare() {
    PrintOptions o;
    o.day_heading = false;
    o.channel_heading = false;
    o.start_time = false;
    return o;
}

TEST(PrintMetricsTest, LengthsAndAreaFollowTheResolution) {
    PrintOptions o;
    EXPECT_EQ(tenth_mm_to_pixels(100, 600), 236);
    EXPECT_EQ(tenth_mm_to_pixels(100, 96), 37);
    for (int dpi : {96, 300, 600}) {
        const PrintMetrics m = metrics(o, dpi);
        EXPECT_EQ(m.pen, std::max(1, dpi / 96));
        EXPECT_EQ(m.area.left(), tenth_mm_to_pixels(100, dpi));
        EXPECT_EQ(m.columns, 4);
        EXPECT_EQ(m.rows, (m.area.height() - m.line_height) / m.line_height);
        EXPECT_TRUE(m.corrections.isEmpty());
    }
    // The same font is about six times as tall at 600 dpi as at 96.
    EXPECT_NEAR(double(metrics(o, 600).line_height) / metrics(o, 96).line_height, 6.25, 0.5);
}

// Settings that would divide by zero or leave no room are corrected and reported.
TEST(PrintMetricsTest, ImpossibleSettingsAreCorrected) {
    struct Case {
        const char* what;
        int columns, margin, font_points;
        int want_columns;
    };
    const Case cases[] = {
        {"no columns", 0, 100, 10, 1},
        {"negative columns", -3, 100, 10, 1},
        {"margins beyond the page", 4, 5000, 10, 4},
        {"font taller than the page", 4, 100, 2000, 4},
        {"more columns than pixels", 5000, 100, 10, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PrintOptions o;
        o.columns = c.columns;
        o.margin_left = o.margin_right = o.margin_top = o.margin_bottom = c.margin;
        o.font_points = c.font_points;
        const PrintMetrics m = metrics(o);
        EXPECT_EQ(m.columns, c.want_columns);
        EXPECT_GE(m.column_width, 1);
        EXPECT_GE(m.rows, 1);
        EXPECT_FALSE(m.corrections.isEmpty());
        // The layout terminates and counts pages.
        auto mem = member(1, "Первый");
        const std::vector<PrintRow> rows{row(mem, at(0, 10, 0), "Новости дня")};
        const PrintLines lines = BuildPrintLines(rows, o, context(), m);
        EXPECT_GE(CountPrintPages(lines, m.per_page()), 1);
    }
}

TEST(PrintLayoutTest, WordLimitKeepsCutsOrDropsWords) {
    struct Case {
        int limit;
        const char* want;
    };
    const Case cases[] = {
        {999, "aaaaaaaa bbbbbbbb cccccccccc"},
        {26, "aaaaaaaa bbbbbbbb cccccccccc"},
        {20, "aaaaaaaa bbbbbbbb cccc"},
        {16, "aaaaaaaa bbbbbbbb"},
        {10, "aaaaaaaa bb"},
        {0, ""},
    };
    auto mem = member(1, "Первый");
    const std::vector<PrintRow> rows{row(mem, at(0, 10, 0), "aaaaaaaa bbbbbbbb cccccccccc")};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        PrintOptions o = bare();
        o.max_length = c.limit;
        o.columns = 1;
        const auto got = texts(BuildPrintLines(rows, o, context(), metrics(o)));
        EXPECT_EQ(got.join('|'), c.limit == 0 ? QString() : QString::fromUtf8(c.want));
    }
}

TEST(PrintLayoutTest, ContinuedPartsMergeIntoOneLine) {
    auto a = member(1, "Первый");
    auto b = member(2, "Второй");
    std::vector<PrintRow> rows{row(a, at(0, 10, 0), "Фильм", 7), row(b, at(0, 10, 0), "Фильм", 7),
                               row(a, at(0, 10, 30), "Фильм", 7), row(a, at(0, 11, 0), "Фильм", 7),
                               row(a, at(1, 10, 0), "Фильм", 7)};
    for (auto& r : rows) r.prog->continued = 1;
    PrintOptions o;
    o.day_heading = o.channel_heading = false;
    o.merge_parts = true;
    EXPECT_EQ(texts(BuildPrintLines(rows, o, context(), metrics(o))),
              (QStringList{"10:00, 10:30, 11:00 Фильм", "10:00 Фильм", "10:00 Фильм"}));
    o.merge_parts = false;
    EXPECT_EQ(texts(BuildPrintLines(rows, o, context(), metrics(o))).size(), 5);
}

TEST(PrintLayoutTest, HeadingsFollowTheDayPageGrouping) {
    auto a = member(1, "Первый");
    auto b = member(2, "Второй");
    b->button = "2";
    PrintOptions o;
    o.start_time = false;
    // By day: the rows come day by day, channel after channel within a day.
    const std::vector<PrintRow> by_day{row(a, at(0, 9, 0), "A1"), row(b, at(0, 9, 0), "B1"),
                                       row(a, at(1, 9, 0), "A2"), row(b, at(1, 9, 0), "B2")};
    EXPECT_EQ(texts(BuildPrintLines(by_day, o, context(true), metrics(o))),
              (QStringList{"*Понедельник", "*Первый", "A1", "*Второй [2]", "B1", "*Вторник",
                           "*Первый", "A2", "*Второй [2]", "B2"}));
    // By channel: each channel's week in turn.
    const std::vector<PrintRow> by_channel{by_day[0], by_day[2], by_day[1], by_day[3]};
    EXPECT_EQ(texts(BuildPrintLines(by_channel, o, context(false), metrics(o))),
              (QStringList{"*Первый", "*Понедельник", "A1", "*Вторник", "A2", "*Второй [2]",
                           "*Понедельник", "B1", "*Вторник", "B2"}));
}

TEST(PrintLayoutTest, PadToPageFillsToTheNextPage) {
    struct Case {
        std::size_t size, at;
        int per_page, inserted;
    };
    const Case cases[] = {{10, 0, 4, 0}, {10, 4, 4, 0}, {10, 5, 4, 3},
                          {10, 7, 4, 1}, {3, 3, 4, 1},  {5, 2, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " " << c.at << " " << c.per_page);
        PrintLines lines(c.size);
        lines[c.at < c.size ? c.at : 0].centred = true;
        EXPECT_EQ(PadToPage(lines, c.at, c.per_page), c.inserted);
        EXPECT_EQ(lines.size(), c.size + std::size_t(c.inserted));
        if (c.at < c.size) {
            EXPECT_TRUE(lines[c.at + std::size_t(c.inserted)].centred);
        }
    }
}

TEST(PrintLayoutTest, PagesCountWholePages) {
    PrintOptions o = bare();
    PrintMetrics m = metrics(o);
    const int p = m.per_page();
    EXPECT_EQ(CountPrintPages(PrintLines{}, p), 1);
    EXPECT_EQ(CountPrintPages(PrintLines(std::size_t(p)), p), 1);
    EXPECT_EQ(CountPrintPages(PrintLines(std::size_t(p) + 1), p), 2);
    EXPECT_EQ(CountPrintPages(PrintLines(std::size_t(3 * p)), p), 3);
}

// Every day heading but the first starts a page; one already at the top of a page adds none.
TEST(PrintLayoutTest, NewDayStartsANewPage) {
    auto a = member(1, "Первый");
    PrintOptions o = bare();
    o.day_heading = true;
    o.new_day = true;
    PrintMetrics m = metrics(o);
    m.rows = 2;
    m.columns = 2;  // P = 4
    // Monday: heading + 3 rows = 4 lines, exactly a page; Tuesday: heading + 1 row.
    const std::vector<PrintRow> rows{row(a, at(0, 9, 0), "a"), row(a, at(0, 10, 0), "b"),
                                     row(a, at(0, 11, 0), "c"), row(a, at(1, 9, 0), "d"),
                                     row(a, at(2, 9, 0), "e")};
    const auto got = texts(BuildPrintLines(rows, o, context(true), m));
    EXPECT_EQ(got,
              (QStringList{"*Понедельник", "a", "b", "c", "*Вторник", "d", "", "", "*Среда", "e"}));
    // A disabled page-break option has no effect.
    o.new_day_enabled = false;
    EXPECT_EQ(texts(BuildPrintLines(rows, o, context(true), m)).size(), 8);
}

TEST(PrintLayoutTest, MarksAreSymbolsInMonochromeAndFillsInColour) {
    auto a = member(1, "Первый");
    std::vector<PrintRow> rows{row(a, at(0, 10, 0), "Кино")};
    rows[0].prog->love = std::make_shared<love_list>();
    rows[0].prog->love->liked = 1;
    rows[0].prog->alarm = 1;
    PrintOptions o;
    o.day_heading = o.channel_heading = false;
    struct Case {
        bool colour, colour_symbols;
        const char* first;
        bool highlight;
    };
    const Case cases[] = {{false, false, "10:00+++!!!", false},
                          {true, false, "10:00", true},
                          {true, true, "10:00+++!!!", true}};
    for (const auto& c : cases) {
        o.colour = c.colour;
        o.colour_symbols = c.colour_symbols;
        const PrintLines lines = BuildPrintLines(rows, o, context(), metrics(o));
        ASSERT_EQ(lines.size(), 1u);
        const PrintWord& w = lines[0].words[0];
        EXPECT_EQ(w.text, QString::fromUtf8(c.first));
        EXPECT_EQ(w.highlight, c.highlight);
        if (c.highlight) {
            EXPECT_EQ(w.colour, o.alarm.colour);  // the later mark wins
        }
    }
    // A framed start time in monochrome mode gets a blank on each side (empty words).
    o.colour = false;
    o.mark_time = true;
    EXPECT_EQ(texts(BuildPrintLines(rows, o, context(), metrics(o))),
              QStringList{" 10:00 +++!!! Кино"});
}

TEST(PrintLayoutTest, OneLineModeFlowsEverythingAndWrapsAtTheColumn) {
    auto a = member(1, "Первый");
    std::vector<PrintRow> rows;
    for (int i = 0; i < 40; ++i) rows.push_back(row(a, at(i / 20, 8, i), "Новости и погода"));
    PrintOptions o;
    o.one_line = true;
    o.split = false;  // one-line mode wraps anyway
    o.channel_heading = false;
    o.columns = 3;
    const PrintMetrics m = metrics(o);
    const PrintLines lines = BuildPrintLines(rows, o, context(), m);
    ASSERT_GT(lines.size(), 3u);
    const PrintWord& heading = lines[0].words[0];
    EXPECT_EQ(heading.text, QStringLiteral(" Понедельник "));
    EXPECT_TRUE(heading.highlight);
    int headings = 0;
    for (const auto& line : lines) {
        EXPECT_FALSE(line.centred);
        int x = 0;
        for (std::size_t i = 0; i < line.words.size(); ++i) {
            if (line.words[i].text == QStringLiteral(" Вторник ")) ++headings;
            if (i + 1 < line.words.size()) x += line.words[i].width + m.space_width;
        }
        EXPECT_LT(x + line.words.back().width, m.column_width);
    }
    EXPECT_EQ(headings, 1);
}

// A break word that lands on the document's second line stays there; later ones pad.
TEST(PrintLayoutTest, WrapBreaksPagesOnlyAfterTheSecondLine) {
    PrintOptions o;
    PrintMetrics m = metrics(o);
    m.rows = 2;
    m.columns = 2;
    auto make = [&](std::size_t before) {
        PrintLines lines(before);
        PrintLine last;
        for (int i = 0; i < 2; ++i) {
            PrintWord w;
            w.text = QStringLiteral("w");
            w.width = 10;
            w.break_before = i == 1;
            last.words.push_back(w);
        }
        lines.push_back(last);
        WrapLastLine(lines, m);
        return lines.size();
    };
    EXPECT_EQ(make(0), 2u);  // the break word is on line 1: no padding
    EXPECT_EQ(make(1), 5u);  // on line 2: padded to line 4
    EXPECT_EQ(make(3), 5u);  // already at the top of page 2
}

}  // namespace
}  // namespace zt::print
