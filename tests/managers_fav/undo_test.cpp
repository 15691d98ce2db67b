// The manager's undo commands: every command undone gives back the exact store, and redone
// gives the store the command made.
#include <gtest/gtest.h>

#include <QUndoStack>
#include <functional>

#include "core/genres.h"
#include "fav_fixture.h"
#include "managers/logic/favourite_commands.h"
#include "managers/logic/genre_group_commands.h"

namespace zt::test {
namespace {

using namespace zt::managers;

struct ViewRecorder final : GenreGroupsView, FavouritesView {
    void show_group(const type_group_list* group) override { groups.push_back(group); }
    void show_genre(int row) override { genres.push_back(row); }
    void show_channel(const chl_serv_list&, const std::vector<int>& rows) override {
        selections.push_back(rows);
    }
    std::vector<const type_group_list*> groups;
    std::vector<int> genres;
    std::vector<std::vector<int>> selections;
};

class UndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        channel = store->add_channel(1, "Один"_cp, "", "00000000", -1);
        add_prog(*store, *channel, 1, "2026-12-10 08:00", "Новости");
        add_prog(*store, *channel, 2, "2026-12-10 09:00", "Кино");
        add_prog(*store, *channel, 3, "2026-12-10 18:00", "новости");
        add_love_title(*channel, "Новости"_cp, 1, at("2026-12-01"));
        add_love_title(*channel, "Сериал"_cp, 0, at("2026-11-01"));
        add_type_group(*store, 2, "Спорт"_cp);
        add_type_group(*store, 5, "Вечер"_cp);
        set_type_group_members(*store->type_groups[0], {{32, 31}, {33, 32}});
    }
    // Pushes the command, then checks undo and redo against the stores before and after.
    void check(const char* what, QUndoCommand* command) {
        SCOPED_TRACE(what);
        const std::string before = store_text(*store);
        stack.push(command);
        const std::string after = store_text(*store);
        EXPECT_NE(after, before);
        stack.undo();
        EXPECT_EQ(store_text(*store), before);
        stack.redo();
        EXPECT_EQ(store_text(*store), after);
    }
    std::unique_ptr<all_list> store = make_store(at("2026-12-10 12:00"));
    std::shared_ptr<chl_serv_list> channel;
    QUndoStack stack;
    ViewRecorder view;
};

TEST_F(UndoTest, EveryCommandUndoesToTheExactStoreAndRedoes) {
    const std::string start = store_text(*store);
    auto& s = *store;
    check("create", new CreateTypeGroupCommand(s, view));
    EXPECT_EQ(s.type_groups.back()->id, 6);
    EXPECT_EQ(view.groups.back(), s.type_groups.back().get());
    check("delete", new DeleteTypeGroupsCommand(s, view, {2}));
    check("rename", new RenameTypeGroupCommand(s, view, 0, "Вечер 2"_cp));
    check("sort", new SortTypeGroupsCommand(s, view));
    check("members", new SetTypeGroupMembersCommand(view, s.type_groups[0], {{10, 9}}));
    check("abbreviation", new SetTypeAbbrCommand(s, view, 9, "Ком"_cp));
    EXPECT_EQ(view.genres.back(), 9);
    check("liked", new SetLoveLikedCommand(view, channel, {1}, 1));
    check("add", new AddLoveCommand(view, channel, "кино"_cp, 0, s.clock().now()));
    check("edit", new EditLoveCommand(view, channel, 0, "Сериал 2"_cp, 0));
    check("move favourite", new MoveLoveCommand(view, channel, 0, 2));
    EXPECT_EQ(view.selections.back(), std::vector<int>{2});
    check("delete favourites", new DeleteLoveCommand(view, channel, {2, 0}));
    EXPECT_EQ(view.selections.back(), std::vector<int>{});

    // The whole history undone gives the store the test began with; redone, the last one.
    const std::string end = store_text(*store);
    while (stack.canUndo()) stack.undo();
    EXPECT_EQ(store_text(*store), start);
    while (stack.canRedo()) stack.redo();
    EXPECT_EQ(store_text(*store), end);
}

TEST_F(UndoTest, MoveAndDeleteOfGroupsUndoInAnyOrder) {
    create_type_group(*store);
    create_type_group(*store);
    const std::string four = store_text(*store);
    stack.push(new MoveTypeGroupCommand(*store, view, 3, 0));
    stack.push(new DeleteTypeGroupsCommand(*store, view, {1, 3}));
    stack.push(new MoveTypeGroupCommand(*store, view, 0, 1));
    ASSERT_EQ(store->type_groups.size(), 2u);
    EXPECT_EQ(store->type_groups[0]->id, 5);
    EXPECT_EQ(store->type_groups[1]->id, 7);
    stack.undo();
    stack.undo();
    stack.undo();
    EXPECT_EQ(store_text(*store), four);
}

}  // namespace
}  // namespace zt::test
