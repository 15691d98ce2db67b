#include "managers/favourites_tab.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "managers/favourite_dialog.h"
#include "managers/ordered_list_view.h"
#include "tab_fixture.h"
#include "ui_helpers.h"

namespace zt::test {
namespace {

class FavTabTest : public ::testing::Test, public TabFixture {
protected:
    void SetUp() override {
        tab.resize(800, 500);
        tab.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
        tab.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&tab));
    }
    QString header() const {
        return tab.love_view().model()->headerData(0, Qt::Horizontal).toString();
    }
    QString cell(int row, int column) const {
        return tab.love_view().model()->index(row, column).data().toString();
    }
    void click(const char* button) { tab.findChild<QToolButton*>(button)->click(); }
    void period(int item) {
        tab.findChild<QMenu*>("PopupMenuLoveTime")->actions().at(item)->trigger();
    }
    // Runs the add or edit dialog that `open` shows: fills it, presses "Сохранить" (and
    // "Отмена" when the dialog refused and stayed open).
    void in_dialog(const QString& title, int kind, const std::function<void()>& open) {
        bool stayed_open = false;
        OnNextModal fill([&](QDialog& d) {
            auto& dialog = static_cast<FavouriteDialog&>(d);
            dialog.title_edit().setText(title);
            dialog.kind_box().setCurrentIndex(kind);
            dialog.findChild<QPushButton*>("BitBtnSave")->click();
            stayed_open = dialog.isVisible();
            if (stayed_open) dialog.reject();
        });
        open();
        last_dialog_refused = stayed_open;
        EXPECT_EQ(fill.runs(), 1);
        // The tab's window is active again and the list has the focus, as after a real dialog.
        QApplication::setActiveWindow(&tab);
        tab.love_view().setFocus();
    }
    bool last_dialog_refused = false;
    FavouritesTab tab{ctx};
};

TEST_F(FavTabTest, BoxListsChannelsWithFavouritesAndTheListFollowsIt) {
    QAbstractItemModelTester tester(tab.love_view().model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    auto& box = tab.channel_box();
    ASSERT_EQ(box.count(), 2);
    EXPECT_EQ(box.itemText(0), QStringLiteral("Первый"));
    EXPECT_EQ(box.itemText(1), QStringLiteral("Третий"));
    EXPECT_EQ(tab.current_channel(), -1);
    EXPECT_EQ(header(), QStringLiteral("Передачи (0)"));

    tab.ChooseChannel(1);
    EXPECT_EQ(tab.current_channel(), 2);
    EXPECT_EQ(header(), QStringLiteral("Передачи (1)"));
    tab.ChooseChannel(0);
    EXPECT_EQ(header(), QStringLiteral("Передачи (3)"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("Сериал"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("Не любимая"));
    EXPECT_TRUE(cell(0, 1).startsWith(QStringLiteral("07.12.26")));

    // Seen 3, 10 and 40 days ago.
    period(0);  // 7 days
    EXPECT_EQ(tab.love_view().selected_rows(), (std::vector<int>{1, 2}));
    period(3);  // 1 month
    EXPECT_EQ(tab.love_view().selected_rows(), std::vector<int>{2});
}

TEST_F(FavTabTest, SwitchDeleteAddEditAndMoveChangeTheStoreAndUndo) {
    auto& s = *store;
    const std::string start = store_text(s);
    auto& list = tab.love_view();
    tab.ChooseChannel(0);
    list.setFocus();

    list.select_rows({0, 1});
    click("BitBtnLoveN");
    EXPECT_EQ(one->love[0]->liked, 0);
    EXPECT_EQ(cell(0, 2), QStringLiteral("Не любимая"));
    EXPECT_EQ(one->tvprog[0]->love, one->love[0]);  // linked programmes keep the link
    EXPECT_EQ(one->tvprog[0]->alarm, 0);

    // Del: the programmes linked to "Новости" become ordinary ones.
    list.select_rows({0});
    const auto news = one->love[0];
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(header(), QStringLiteral("Передачи (2)"));
    EXPECT_EQ(one->tvprog[0]->love, nullptr);
    EXPECT_EQ(one->tvprog[2]->love, nullptr);
    undo.undo();
    EXPECT_EQ(one->love[0], news);
    EXPECT_EQ(one->tvprog[2]->love, news);
    EXPECT_EQ(list.selected_rows(), std::vector<int>{0});

    // Insert: a title of this channel only; a second entry with it is refused.
    in_dialog(QStringLiteral("футбол"), 1, [&] { QTest::keyClick(&list, Qt::Key_Insert); });
    EXPECT_FALSE(last_dialog_refused);
    ASSERT_EQ(one->love.size(), 4u);
    EXPECT_EQ(one->love[3]->liked, 0);
    EXPECT_EQ(one->tvprog[3]->love, one->love[3]);
    EXPECT_EQ(three->love.size(), 1u);
    in_dialog(QStringLiteral("НОВОСТИ"), 0, [&] { QTest::keyClick(&list, Qt::Key_Insert); });
    EXPECT_TRUE(last_dialog_refused);
    EXPECT_EQ(ui.messages.back().kind, MsgKind::Error);
    EXPECT_EQ(one->love.size(), 4u);

    // F2: "Сериал" becomes "Кино": the film is linked, the series no longer.
    list.setCurrentIndex(list.model()->index(1, 0));
    in_dialog(QStringLiteral("Кино"), 0, [&] { QTest::keyClick(&list, Qt::Key_F2); });
    EXPECT_EQ(to_utf8(one->love[1]->title), "Кино");
    EXPECT_EQ(one->tvprog[1]->love, one->love[1]);
    EXPECT_EQ(one->tvprog[4]->love, nullptr);

    QTest::keyClick(&list, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(to_utf8(one->love[2]->title), "Кино");
    EXPECT_EQ(list.selected_rows(), std::vector<int>{2});

    while (undo.canUndo()) undo.undo();
    EXPECT_EQ(store_text(s), start);
}

}  // namespace
}  // namespace zt::test
