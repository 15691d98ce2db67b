#include "managers/logic/genre_group_commands.h"

#include <QString>

#include "core/store.h"

namespace zt::managers {

CreateTypeGroupCommand::CreateTypeGroupCommand(all_list& store, GenreGroupsView& view)
    : m_store(store), m_view(view) {
    setText(QStringLiteral("создание группы"));
}

void CreateTypeGroupCommand::redo() {
    // The store is as it was before the first redo, so the group gets the same id again.
    m_group = create_type_group(m_store);
    m_view.show_group(m_group.get());
}

void CreateTypeGroupCommand::undo() {
    if (m_group) remove_type_group(m_store, *m_group);
    m_group.reset();
    m_view.show_group(nullptr);
}

DeleteTypeGroupsCommand::DeleteTypeGroupsCommand(all_list& store, GenreGroupsView& view,
                                                 std::vector<int> rows)
    : m_store(store), m_view(view), m_rows(std::move(rows)) {
    setText(QStringLiteral("удаление отмеченных групп"));
}

void DeleteTypeGroupsCommand::redo() {
    m_removed = delete_type_groups(m_store, m_rows);
    m_view.show_group(nullptr);
}

void DeleteTypeGroupsCommand::undo() {
    undelete_type_groups(m_store, m_removed);
    m_view.show_group(m_removed.empty() ? nullptr : m_removed.front().group.get());
    m_removed.clear();
}

RenameTypeGroupCommand::RenameTypeGroupCommand(all_list& store, GenreGroupsView& view, int row,
                                               std::string name)
    : m_store(store), m_view(view), m_row(row), m_name(std::move(name)) {
    setText(QStringLiteral("изменение группы"));
}

void RenameTypeGroupCommand::swap_name() {
    if (auto before = rename_type_group(m_store, m_row, m_name)) {
        m_name = std::move(*before);
        m_view.show_group(m_store.type_groups[m_row].get());
    }
}
void RenameTypeGroupCommand::redo() {
    swap_name();
}
void RenameTypeGroupCommand::undo() {
    swap_name();
}

MoveTypeGroupCommand::MoveTypeGroupCommand(all_list& store, GenreGroupsView& view, int from, int to)
    : m_store(store), m_view(view), m_from(from), m_to(to) {
    setText(QStringLiteral("перемещение группы"));
}

void MoveTypeGroupCommand::redo() {
    if (move_type_group(m_store, m_from, m_to)) m_view.show_group(m_store.type_groups[m_to].get());
}
void MoveTypeGroupCommand::undo() {
    if (move_type_group(m_store, m_to, m_from))
        m_view.show_group(m_store.type_groups[m_from].get());
}

SortTypeGroupsCommand::SortTypeGroupsCommand(all_list& store, GenreGroupsView& view)
    : m_store(store), m_view(view) {
    setText(QStringLiteral("сортировка по алфавиту"));
}

void SortTypeGroupsCommand::redo() {
    m_before = sort_type_groups(m_store);
    m_view.show_group(nullptr);
}
void SortTypeGroupsCommand::undo() {
    restore_type_group_order(m_store, std::move(m_before));
    m_before.clear();
    m_view.show_group(nullptr);
}

SetTypeGroupMembersCommand::SetTypeGroupMembersCommand(GenreGroupsView& view,
                                                       std::shared_ptr<type_group_list> group,
                                                       std::vector<type_group_member> members)
    : m_view(view), m_group(std::move(group)), m_members(std::move(members)) {
    setText(QStringLiteral("изменение типов группы"));
}

void SetTypeGroupMembersCommand::swap_members() {
    m_members = set_type_group_members(*m_group, std::move(m_members));
    m_view.show_group(m_group.get());
}
void SetTypeGroupMembersCommand::redo() {
    swap_members();
}
void SetTypeGroupMembersCommand::undo() {
    swap_members();
}

SetTypeAbbrCommand::SetTypeAbbrCommand(all_list& store, GenreGroupsView& view, int row,
                                       std::string abbr)
    : m_store(store), m_view(view), m_row(row), m_abbr(std::move(abbr)) {
    setText(QStringLiteral("изменение буквенного сокращения"));
}

void SetTypeAbbrCommand::swap_abbr() {
    if (auto before = set_type_abbr(m_store, m_row, m_abbr)) {
        m_abbr = std::move(*before);
        m_view.show_genre(m_row);
    }
}
void SetTypeAbbrCommand::redo() {
    swap_abbr();
}
void SetTypeAbbrCommand::undo() {
    swap_abbr();
}

}  // namespace zt::managers
