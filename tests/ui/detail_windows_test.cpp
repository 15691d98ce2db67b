// The announcement, channel and about windows, and the rich-text renderer they share.
#include <QBuffer>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include "prog_fixture.h"
#include "ui_helpers.h"
#include "views/about_window.h"
#include "views/anons_window.h"
#include "views/channel_window.h"
#include "views/logic/rich_text_runs.h"
#include "views/rich_text.h"

namespace zt::test {
namespace {

using views::RichWord;

std::vector<std::string> words(const views::RichLine& line) {
    std::vector<std::string> out;
    for (const auto& w : line) out.push_back((w.bold ? "*" : "") + w.text + (w.link ? "@" : ""));
    return out;
}

TEST(RichText, SplitsBoldRunsLinksAndLines) {
    using W = std::vector<std::string>;
    struct Case {
        const char* text;
        std::vector<W> lines;
    } cases[] = {
        // "<b>" opens a word and "</b>" ends the next: both bold, the rest normal.
        {"<b>Two bold</b> words", {{"*Two", "*bold", "words"}}},
        {"one <b>single</b> bold", {{"one", "*single", "bold"}}},
        // Links in any letter case; a link is never bold.
        {"<b>WWW.site.ru and http://x.ru</b> end",
         {{"WWW.site.ru@", "*and", "http://x.ru@", "end"}}},
        {"no https://x.ru link", {{"no", "https://x.ru", "link"}}},
        // Doubled spaces give empty words; lines break at CR LF and LF.
        {"a  b\r\nc\nd", {{"a", "", "b"}, {"c"}, {"d"}}},
        // A bold run goes on over a line break.
        {"<b>a\r\nb</b> c", {{"*a"}, {"*b", "c"}}},
    };
    for (const auto& c : cases) {
        const auto lines = views::split_rich_text(c.text);
        ASSERT_EQ(lines.size(), c.lines.size()) << c.text;
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(words(lines[i]), c.lines[i]) << c.text;
    }
    EXPECT_EQ(views::link_address("www.site.ru"), "http://www.site.ru");
    EXPECT_EQ(views::link_address("HTTP://site.ru"), "HTTP://site.ru");
}

TEST(RichText, PlacesWordsWithAndWithoutWrap) {
    // Words 30 wide, spaces 5, room 80: two words a line when wrapping.
    const std::vector<std::vector<int>> widths = {{30, 30, 30}, {30}};
    const auto wrapped = views::place_rich_words(widths, 5, 80, true);
    EXPECT_EQ(wrapped[0][0].x, 2);
    EXPECT_EQ(wrapped[0][1].x, 37);
    EXPECT_EQ(wrapped[0][2].x, 2);
    EXPECT_EQ(wrapped[0][2].line, 1);
    EXPECT_EQ(wrapped[1][0].line, 2);
    const auto flat = views::place_rich_words(widths, 5, 80, false);
    EXPECT_EQ(flat[0][2].x, 72);
    EXPECT_EQ(flat[1][0].line, 1);
    // A word wider than the area stays on its line instead of leaving an empty one.
    const auto wide = views::place_rich_words({{200}}, 5, 80, true);
    EXPECT_EQ(wide[0][0].line, 0);
}

TEST(RichText, RendersLabelsAndLinks) {
    QWidget window;
    RichTextArea area(&window);
    area.resize(300, 100);
    RenderRichText(&window, area, QStringLiteral("<b>Жирное</b> и www.zorvan.example"), true);
    const auto labels = area.word_labels();
    ASSERT_EQ(labels.size(), 3);
    EXPECT_TRUE(labels[0]->font().bold());
    EXPECT_FALSE(labels[1]->font().bold());
    auto* link = qobject_cast<LinkLabel*>(labels[2]);
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->address(), QStringLiteral("http://www.zorvan.example"));
    EXPECT_LT(labels[0]->x(), labels[1]->x());
    // Rendering again replaces the words.
    RenderRichText(&window, area, QStringLiteral("один"), true);
    EXPECT_EQ(area.word_labels().size(), 1);
}

class AnnouncementTest : public ProgPagesTest {
protected:
    void SetUp() override {
        ProgPagesTest::SetUp();
        film->anons =
            store->add_anons(*first->chl, 7, "<b>Большой фильм</b> www.kino.example"_cp, "");
        // Three further parts follow the film.
        film->continued = 1;
        auto part = film;
        for (int i = 1; i <= 3; ++i) {
            auto next = prog(first, "2026-03-1" + std::to_string(1 + i) + " 20:00",
                             "2026-03-1" + std::to_string(1 + i) + " 21:00", "Фильм");
            part->next_part = next;
            part = next;
        }
        pages().RebuildProgramList();
    }
};

TEST_F(AnnouncementTest, OpensOnPressAndClosesOnSelectionChange) {
    ProgramTable& t = pages().active_table();
    TFAnons& anons = details().anons_window();
    const int line = line_of(film);
    ASSERT_GE(line, 0);
    QTest::mouseClick(t.viewport(), Qt::LeftButton, {},
                      t.visualRect(t.model()->index(line, 7)).center());
    ASSERT_TRUE(anons.isVisible());
    EXPECT_EQ(anons.shown(), film.get());
    EXPECT_EQ(anons.height(), 145);
    EXPECT_GE(anons.width(), t.width());
    EXPECT_FALSE(test::widget<QFrame>(anons, "ShapePict")->isVisible());  // no picture
    const auto labels = test::widget<RichTextArea>(anons, "ScrollBoxTxt")->word_labels();
    ASSERT_EQ(labels.size(), 3);
    EXPECT_TRUE(labels[1]->font().bold());
    EXPECT_NE(qobject_cast<LinkLabel*>(labels[2]), nullptr);
    EXPECT_EQ(test::widget<QLabel>(anons, "LabelDbl")->text(),
              QStringLiteral("Ещё будет: 3, ближайший: 20:00   12.03.26 Четверг"));
    // The first row sits at the top of the screen: the window does not fit above it.
    EXPECT_FALSE(anons.above());
    EXPECT_GT(anons.y(), t.viewport()->mapToGlobal(QPoint(0, 0)).y());
    // The table keeps the focus.
    EXPECT_FALSE(anons.isActiveWindow());

    // "Подробнее" is enabled for it; another row closes the window.
    emit t.customContextMenuRequested(QPoint(1, 1));
    pages().row_menu().hide();
    select(line == 0 ? 1 : 0);
    EXPECT_FALSE(anons.isVisible());
}

// The picture stands in a thin grey frame: round a picture smaller than the frame the window's
// own background shows, not a grey block.
TEST_F(AnnouncementTest, PictureStandsInAThinFrame) {
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(red.save(&buffer, "BMP"));
    film->anons->picture.assign(bmp.constData(), std::size_t(bmp.size()));

    ProgramTable& t = pages().active_table();
    QTest::mouseClick(t.viewport(), Qt::LeftButton, {},
                      t.visualRect(t.model()->index(line_of(film), 7)).center());
    TFAnons& anons = details().anons_window();
    ASSERT_TRUE(test::widget<QFrame>(anons, "ShapePict")->isVisible());
    const QImage shot = anons.grab().toImage();
    const QRect frame = test::widget<QFrame>(anons, "ShapePict")->geometry();
    EXPECT_EQ(frame.size(), QSize(102, 102));
    const QColor grey(128, 128, 128);
    const QColor background = anons.palette().color(QPalette::Button);
    EXPECT_EQ(shot.pixelColor(frame.topLeft()), grey);
    EXPECT_EQ(shot.pixelColor(frame.bottomRight()), grey);
    EXPECT_EQ(shot.pixelColor(frame.center()), QColor(Qt::red));
    // Between the frame and the picture.
    EXPECT_EQ(shot.pixelColor(frame.topLeft() + QPoint(3, 3)), background);
    EXPECT_EQ(shot.pixelColor(frame.bottomRight() - QPoint(3, 3)), background);
}

TEST_F(AnnouncementTest, ContinuedProgrammeWithoutTextAndPlacementFlip) {
    film->anons = nullptr;
    select(line_of(film));
    TFAnons& anons = details().anons_window();
    // Placed by hand: a row low on a short work area opens above it, one at the top below it.
    views::tvprog_local_list row = *pages().SelectedProgramRow();
    const QRect work(0, 0, 800, 600);
    anons.set_above(false);
    ASSERT_TRUE(anons.ShowFor(*store, row, 500, 0, 580, 18, work));
    EXPECT_EQ(anons.height(), 37);
    EXPECT_FALSE(test::widget<RichTextArea>(anons, "ScrollBoxTxt")->isVisible());
    EXPECT_TRUE(anons.above());
    EXPECT_EQ(anons.y(), 580 - 37 + 1);
    anons.set_above(true);
    ASSERT_TRUE(anons.ShowFor(*store, row, 500, 0, 10, 18, work));
    EXPECT_FALSE(anons.above());
    EXPECT_EQ(anons.y(), 28);
    // A programme with nothing to tell opens nothing.
    film->continued = 0;
    row = *pages().SelectedProgramRow();
    EXPECT_FALSE(anons.ShowFor(*store, row, 500, 0, 10, 18, work));
    EXPECT_FALSE(anons.isVisible());
}

TEST_F(ProgPagesTest, ChannelAndAboutWindows) {
    first->descr = "Свой"_cp;
    first->chl->descr = "Общий"_cp;
    first->shift_text = "+01:00";
    details().ShowChannelInfo(*first);
    TFChannel& w = details().channel_window();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(test::widget<QLabel>(w, "LabelName")->text(), QStringLiteral("[1] Первый"));
    EXPECT_EQ(test::widget<QLabel>(w, "LabelTime")->text(), QStringLiteral("+01:00"));
    EXPECT_EQ(member_description(*first), "Свой\r\n----------\r\nОбщий"_cp);
    second->chl->descr = "Только общий"_cp;
    EXPECT_EQ(member_description(*second), "Только общий"_cp);
    w.close();

    // At the pointer, or left of / above it near the work area's edges.
    const QRect work(0, 0, 1000, 700);
    EXPECT_EQ(TFChannel::place_at({100, 100}, {223, 193}, work), QPoint(100, 100));
    EXPECT_EQ(TFChannel::place_at({900, 600}, {223, 193}, work), QPoint(677, 407));

    EXPECT_EQ(version_text(), QStringLiteral("1.6 (2010113002)"));
    ASSERT_NE(action(*main, "MHelpAbout"), nullptr);
    OnNextModal close([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("О программе"));
        d.close();
    });
    action(*main, "MHelpAbout")->trigger();
    EXPECT_EQ(close.runs(), 1);
}

}  // namespace
}  // namespace zt::test
