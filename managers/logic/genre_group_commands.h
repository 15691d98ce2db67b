#pragma once

#include <QUndoCommand>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "managers/logic/genre_groups.h"

namespace zt {
class all_list;
}

namespace zt::managers {

// What the genre-groups commands tell the window after they ran (either way).
class GenreGroupsView {
public:
    virtual ~GenreGroupsView() = default;
    // The groups changed: `group` becomes the current, only selected group (null: the first
    // group, or none when there is none); ticks, counts and captions are read again.
    virtual void show_group(const type_group_list* group) = 0;
    // The abbreviation of the genre at `row` changed.
    virtual void show_genre(int row) = 0;
};

// Undo commands of the genre-groups manager: redo runs the store operation, undo its inverse,
// then each tells the view what to show. The user-visible texts are the commands' names.

class CreateTypeGroupCommand final : public QUndoCommand {
public:
    CreateTypeGroupCommand(all_list& store, GenreGroupsView& view);
    // False when the last redo created nothing (no id left).
    bool created() const { return m_group != nullptr; }
    void redo() override;
    void undo() override;

private:
    all_list& m_store;
    GenreGroupsView& m_view;
    std::shared_ptr<type_group_list> m_group;
};

class DeleteTypeGroupsCommand final : public QUndoCommand {
public:
    DeleteTypeGroupsCommand(all_list& store, GenreGroupsView& view, std::vector<int> rows);
    void redo() override;
    void undo() override;

private:
    all_list& m_store;
    GenreGroupsView& m_view;
    std::vector<int> m_rows;
    std::vector<RemovedTypeGroup> m_removed;
};

class RenameTypeGroupCommand final : public QUndoCommand {
public:
    RenameTypeGroupCommand(all_list& store, GenreGroupsView& view, int row, std::string name);
    void redo() override;
    void undo() override;

private:
    void swap_name();
    all_list& m_store;
    GenreGroupsView& m_view;
    int m_row;
    std::string m_name;  // the name the group does not have now
};

class MoveTypeGroupCommand final : public QUndoCommand {
public:
    MoveTypeGroupCommand(all_list& store, GenreGroupsView& view, int from, int to);
    void redo() override;
    void undo() override;

private:
    all_list& m_store;
    GenreGroupsView& m_view;
    int m_from, m_to;
};

class SortTypeGroupsCommand final : public QUndoCommand {
public:
    SortTypeGroupsCommand(all_list& store, GenreGroupsView& view);
    void redo() override;
    void undo() override;

private:
    all_list& m_store;
    GenreGroupsView& m_view;
    std::vector<std::shared_ptr<type_group_list>> m_before;
};

// The click rule's result for the current group: its new member list.
class SetTypeGroupMembersCommand final : public QUndoCommand {
public:
    SetTypeGroupMembersCommand(GenreGroupsView& view, std::shared_ptr<type_group_list> group,
                               std::vector<type_group_member> members);
    void redo() override;
    void undo() override;

private:
    void swap_members();
    GenreGroupsView& m_view;
    std::shared_ptr<type_group_list> m_group;
    std::vector<type_group_member> m_members;  // the list the group does not have now
};

class SetTypeAbbrCommand final : public QUndoCommand {
public:
    SetTypeAbbrCommand(all_list& store, GenreGroupsView& view, int row, std::string abbr);
    void redo() override;
    void undo() override;

private:
    void swap_abbr();
    all_list& m_store;
    GenreGroupsView& m_view;
    int m_row;
    std::string m_abbr;  // the abbreviation the genre does not have now
};

}  // namespace zt::managers
