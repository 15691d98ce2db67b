#include "managers/genre_groups_tab.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QToolButton>

#include "managers/ordered_list_view.h"
#include "tab_fixture.h"
#include "ui/cp_text.h"
#include "ui/row_painter.h"

namespace zt::test {
namespace {

constexpr int kSport = 30;  // the family row "Спорт"; its sub-genres are rows 31..46

class GenreTabTest : public ::testing::Test, public TabFixture {
protected:
    void SetUp() override {
        tab.resize(900, 600);
        tab.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
        tab.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&tab));
    }
    QString cell(QTableView& list, int row, int column) const {
        return list.model()->index(row, column).data().toString();
    }
    void press_check(int row) {
        auto& list = tab.genre_list();
        list.scrollTo(list.model()->index(row, 0));
        const QRect box = RowPainter::check_box_rect(list.visualRect(list.model()->index(row, 0)));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, box.center());
    }
    void choose_group(int row) {
        auto& list = tab.group_list();
        list.setCurrentIndex(list.model()->index(row, 0));
    }
    QLineEdit* editor(QWidget& list) { return list.findChild<QLineEdit*>("CaptionEditor"); }
    // Types `text` into the editor key by key, as the keyboard would, and commits it with Enter
    // (the delegate commits from the event loop).
    void type_and_commit(QLineEdit& edit, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&edit, &press);
        }
        QTest::keyClick(&edit, Qt::Key_Return);
        QApplication::processEvents();
    }
    GenreGroupsTab tab{ctx};
};

TEST_F(GenreTabTest, ModelsPassTheModelTester) {
    QAbstractItemModelTester genres(tab.genre_list().model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester groups(tab.group_list().model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(tab.genre_list().model()->rowCount(), kGenreCount);
    EXPECT_EQ(tab.group_list().model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Группы (2)"));
}

TEST_F(GenreTabTest, CheckingAFamilyFillsTheCurrentGroupAndUndoes) {
    auto& s = *store;
    EXPECT_EQ(tab.current_group(), -1);
    // Without a current group a click ticks, changes no group and pushes no command.
    press_check(kSport + 1);
    EXPECT_TRUE(tab.ticks()[kSport + 1]);
    EXPECT_EQ(undo.count(), 0);

    choose_group(1);
    EXPECT_EQ(tab.current_group(), 1);
    EXPECT_FALSE(tab.ticks()[kSport + 1]);  // the ticks show the chosen group: empty
    EXPECT_EQ(tab.findChild<QLabel*>("LabelTypeGroupCurrent")->text(), QStringLiteral("Вечер"));

    press_check(kSport);
    ASSERT_EQ(s.type_groups[1]->members.size(), 16u);
    EXPECT_FALSE(tab.ticks()[kSport]);
    EXPECT_TRUE(tab.ticks()[kSport + 16]);
    EXPECT_EQ(cell(tab.group_list(), 1, 1), QStringLiteral("16"));
    EXPECT_EQ(cell(tab.genre_list(), kSport + 1, 2), QStringLiteral("2"));
    EXPECT_EQ(cell(tab.genre_list(), kSport + 9, 2), QStringLiteral("1"));
    EXPECT_EQ(cell(tab.genre_list(), kSport, 2), QString());

    // Unticking one sub-genre leaves 15; the context menu's "Снять со всех" leaves none.
    press_check(kSport + 2);
    EXPECT_EQ(s.type_groups[1]->members.size(), 15u);
    emit tab.genre_list().menu_command(2);
    EXPECT_TRUE(s.type_groups[1]->members.empty());

    undo.undo();
    undo.undo();
    EXPECT_EQ(s.type_groups[1]->members.size(), 16u);
    EXPECT_TRUE(tab.ticks()[kSport + 2]);
    undo.undo();
    EXPECT_TRUE(s.type_groups[1]->members.empty());
    EXPECT_EQ(tab.current_group(), 1);
}

TEST_F(GenreTabTest, KeysCreateRenameMoveAndDeleteGroups) {
    auto& s = *store;
    const std::string start = store_text(s);
    auto& groups = tab.group_list();
    groups.setFocus();
    choose_group(0);

    QTest::keyClick(&groups, Qt::Key_Insert);
    ASSERT_EQ(s.type_groups.size(), 3u);
    EXPECT_EQ(to_utf8(s.type_groups[2]->name), "Новая 6");
    EXPECT_EQ(tab.current_group(), 2);
    EXPECT_EQ(groups.selected_rows(), std::vector<int>{2});
    EXPECT_EQ(groups.model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Группы (3)"));

    QTest::keyClick(&groups, Qt::Key_F2);
    QLineEdit* edit = editor(groups);
    ASSERT_NE(edit, nullptr);
    edit->clear();
    type_and_commit(*edit, QStringLiteral("Кино"));
    EXPECT_EQ(to_utf8(s.type_groups[2]->name), "Кино");

    QTest::keyClick(&groups, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(to_utf8(s.type_groups[1]->name), "Кино");
    EXPECT_EQ(groups.selected_rows(), std::vector<int>{1});
    QTest::keyClick(&groups, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&groups, Qt::Key_Up, Qt::ControlModifier);  // at the top: nothing
    EXPECT_EQ(to_utf8(s.type_groups[0]->name), "Кино");

    groups.select_rows({0, 2});
    ui.answer = false;
    QTest::keyClick(&groups, Qt::Key_Delete);
    EXPECT_EQ(s.type_groups.size(), 3u);
    ui.answer = true;
    QTest::keyClick(&groups, Qt::Key_Delete);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].kind, MsgKind::Question);
    EXPECT_EQ(ui.messages[1].text, "Удалить выбранные группы?");
    ASSERT_EQ(s.type_groups.size(), 1u);
    EXPECT_EQ(s.type_groups[0]->id, 2);
    EXPECT_EQ(tab.current_group(), 0);
    EXPECT_TRUE(tab.ticks()[31]);  // the first remaining group's genres are ticked

    while (undo.canUndo()) undo.undo();
    EXPECT_EQ(store_text(s), start);
}

TEST_F(GenreTabTest, AbbreviationEditorKeepsCp1251AndTheLimit) {
    auto& genres = tab.genre_list();
    genres.setFocus();
    genres.setCurrentIndex(genres.model()->index(9, 0));
    QTest::keyClick(&genres, Qt::Key_F2);
    QLineEdit* edit = editor(genres);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->maxLength(), 255);
    QString foreign = QStringLiteral("Ком日");
    int pos = 0;
    EXPECT_EQ(edit->validator()->validate(foreign, pos), QValidator::Invalid);
    type_and_commit(*edit, QStringLiteral("Ком日"));  // the last character is refused
    EXPECT_EQ(store->types[9]->abbr, "Ком"_cp);
    EXPECT_EQ(cell(genres, 9, 0), QStringLiteral("Ком"));
    undo.undo();
    EXPECT_EQ(store->types[9]->abbr, "");
}

TEST_F(GenreTabTest, DropsMoveInsideTheListOnlyAndSortMakesTheFirstCurrent) {
    auto& s = *store;
    add_type_group(s, -1, "Альфа"_cp);
    tab.prepare();
    auto& groups = tab.group_list();
    choose_group(0);
    auto drop = [&](const QByteArray& key, int row) {
        QMimeData data;
        data.setData(OrderedListView::drag_format(), key);
        return groups.drop_rows(&data, groups.visualRect(groups.model()->index(row, 0)).center());
    };
    EXPECT_FALSE(drop(tab.genre_list().drag_key(), 2));  // dragged from the genre list
    EXPECT_EQ(s.type_groups[0]->id, 2);
    EXPECT_TRUE(drop(groups.drag_key(), 2));
    EXPECT_EQ(s.type_groups[2]->id, 2);
    EXPECT_EQ(tab.current_group(), 2);

    tab.findChild<QToolButton*>("BitBtnTypeGrpSort")->click();
    std::vector<std::string> names;
    for (const auto& g : s.type_groups) names.push_back(to_utf8(g->name));
    EXPECT_EQ(names, (std::vector<std::string>{"Альфа", "Вечер", "Спорт"}));
    EXPECT_EQ(tab.current_group(), 0);
    EXPECT_EQ(groups.selected_rows(), std::vector<int>{0});
}

}  // namespace
}  // namespace zt::test
