#include <gtest/gtest.h>

#include <QPainter>

#include "print/logic/print_paint.h"
#include "print_fixture.h"
#include "storage/settings.h"

namespace zt::print {
namespace {

using namespace test;

// Columns of the page in which something other than white is drawn, below the header.
std::vector<bool> inked_columns(const QImage& page, const PrintMetrics& m) {
    std::vector<bool> inked(std::size_t(m.columns), false);
    for (int y = m.area.top() + m.line_height; y < m.area.bottom(); ++y)
        for (int c = 0; c < m.columns; ++c) {
            const int x0 = m.area.left() + c * (m.column_width + m.gap);
            for (int x = x0; x < x0 + m.column_width; ++x)
                if (page.pixel(x, y) != qRgb(255, 255, 255)) inked[std::size_t(c)] = true;
        }
    return inked;
}

bool has_colour(const QImage& page, QColor colour) {
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) == colour.rgb()) return true;
    return false;
}

// 12 lines in 4 columns fill the first column from the top; the others stay empty.
TEST(PrintPaintTest, LinesFillTheFirstColumnFirst) {
    auto a = member(1, "Первый");
    std::vector<PrintRow> rows;
    for (int i = 0; i < 12; ++i) rows.push_back(row(a, at(0, 8, i), "Новости"));
    PrintOptions o;
    o.day_heading = o.channel_heading = false;
    const PrintMetrics m = metrics(o);
    ASSERT_GE(m.rows, 12);
    const PrintLines lines = BuildPrintLines(rows, o, context(), m);
    ASSERT_EQ(CountPrintPages(lines, m.per_page()), 1);
    const PageSource source{lines, o, context(), m, {}};
    const QImage page = RenderPageImage(source, 1, 1, 1123, 794);
    EXPECT_EQ(inked_columns(page, m), (std::vector<bool>{true, false, false, false}));
}

// Marks fill behind the start time only in colour mode; monochrome draws black frames.
TEST(PrintPaintTest, ColourModeFillsMonochromeFrames) {
    auto a = member(1, "Первый");
    std::vector<PrintRow> rows{row(a, at(0, 10, 0), "Кино")};
    rows[0].prog->alarm = 1;
    const PrintContext c = context();
    for (bool colour : {false, true}) {
        PrintOptions o;
        o.colour = colour;
        const PrintMetrics m = metrics(o);
        const PrintLines lines = BuildPrintLines(rows, o, c, m);
        const PageSource source{lines, o, c, m, {}};
        const QImage page = RenderPageImage(source, 1, 1, 1123, 794);
        EXPECT_EQ(has_colour(page, o.alarm.colour), colour);
        EXPECT_EQ(has_colour(page, o.channel_heading_colour), colour);
    }
}

// Every text takes the print font's colour, in either mode; the default stays black.
TEST(PrintPaintTest, TextTakesTheFontColour) {
    auto a = member(1, "Первый");
    std::vector<PrintRow> rows{row(a, at(0, 10, 0), "Кино"), row(a, at(0, 11, 0), "Новости")};
    const PrintContext c = context();
    const auto reddish = [](const QImage& page) {
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor p = page.pixelColor(x, y);
                if (p.red() > 150 && p.green() < 90 && p.blue() < 90) return true;
            }
        return false;
    };
    for (const bool colour : {false, true})
        for (const QColor font : {QColor(Qt::black), QColor(220, 0, 0)}) {
            PrintOptions o;
            o.colour = colour;
            o.font_colour = font;
            o.day_heading = o.channel_heading = false;
            const PrintMetrics m = metrics(o);
            const PrintLines lines = BuildPrintLines(rows, o, c, m);
            const PageSource source{lines, o, c, m, {}};
            const QImage page = RenderPageImage(source, 1, 1, 1123, 794);
            EXPECT_EQ(reddish(page), font != QColor(Qt::black)) << colour;
        }
}

TEST(PrintPaintTest, HeaderNamesThePeriodAndThePage) {
    // The dates follow the program's locale (zorvan-cli's tests check they are Russian in
    // every terminal locale); the week is Monday 7 to Sunday 13 December.
    PrintOptions o;
    const QString period = locale_short_date(context().week_cur) + QStringLiteral(" - ") +
                           locale_short_date(context().week_cur.addDays(6));
    EXPECT_EQ(header_period(context(), o, 2, 5), period + QStringLiteral(" (стр. 2/5)"));
    o.page_numbers = false;
    EXPECT_EQ(header_period(context(), o, 2, 5), period);
    EXPECT_EQ(header_title(context()),
              QStringLiteral("\"ЗОРВАН. Телепрограмма.\" - www.zorvan.tv"));
}

// The defaults of the layout are the stored defaults, and options survive a round trip.
TEST(PrintOptionsTest, SettingsRoundTrip) {
    const Settings defaults;
    PrintOptions from_file = print_options_from_settings(defaults);
    PrintOptions plain;
    EXPECT_EQ(from_file.mark.colour, plain.mark.colour);
    EXPECT_EQ(from_file.love_no.colour, plain.love_no.colour);
    EXPECT_EQ(from_file.alarm.symbols, plain.alarm.symbols);
    EXPECT_EQ(from_file.day_heading_colour, plain.day_heading_colour);
    EXPECT_EQ(from_file.mark_time_colour, plain.mark_time_colour);
    EXPECT_EQ(from_file.columns, plain.columns);
    Settings back;
    from_file.columns = 3;
    from_file.colour = true;
    store_print_options(from_file, back);
    EXPECT_EQ(back.print_columns.count, "3");
    EXPECT_EQ(back.print_page.colour_mode, 1);
    back.print_columns.count = defaults.print_columns.count;
    back.print_page.colour_mode = 0;
    EXPECT_EQ(back, defaults);
}

}  // namespace
}  // namespace zt::print
