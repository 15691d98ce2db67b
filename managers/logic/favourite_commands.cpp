#include "managers/logic/favourite_commands.h"

#include <QString>

namespace zt::managers {

namespace {

std::vector<int> rows_of(const std::vector<DroppedLove>& dropped) {
    std::vector<int> rows;
    for (const auto& d : dropped) rows.push_back(static_cast<int>(d.position));
    return rows;
}

}  // namespace

SetLoveLikedCommand::SetLoveLikedCommand(FavouritesView& view,
                                         std::shared_ptr<chl_serv_list> channel,
                                         std::vector<int> rows, std::uint8_t liked)
    : m_view(view), m_channel(std::move(channel)), m_rows(std::move(rows)), m_liked(liked) {
    setText(liked == 1 ? QStringLiteral("перевод отмеченных в любимые")
                       : QStringLiteral("перевод отмеченных в нелюбимые"));
}

void SetLoveLikedCommand::redo() {
    m_changes = set_love_liked(*m_channel, m_rows, m_liked);
    m_view.show_channel(*m_channel, m_rows);
}
void SetLoveLikedCommand::undo() {
    restore_love_liked(*m_channel, m_changes);
    m_view.show_channel(*m_channel, m_rows);
}

DeleteLoveCommand::DeleteLoveCommand(FavouritesView& view, std::shared_ptr<chl_serv_list> channel,
                                     std::vector<int> rows)
    : m_view(view), m_channel(std::move(channel)), m_rows(std::move(rows)) {
    setText(QStringLiteral("удаление отмеченных передач"));
}

void DeleteLoveCommand::redo() {
    m_dropped = delete_love_entries(*m_channel, m_rows);
    m_view.show_channel(*m_channel, {});
}
void DeleteLoveCommand::undo() {
    undelete_love_entries(*m_channel, m_dropped);
    m_view.show_channel(*m_channel, rows_of(m_dropped));
    m_dropped.clear();
}

AddLoveCommand::AddLoveCommand(FavouritesView& view, std::shared_ptr<chl_serv_list> channel,
                               std::string title, std::uint8_t liked, DateTime now)
    : m_view(view),
      m_channel(std::move(channel)),
      m_title(std::move(title)),
      m_liked(liked),
      m_now(now) {
    setText(QStringLiteral("добавление передачи"));
}

void AddLoveCommand::redo() {
    m_added = add_love_title(*m_channel, m_title, m_liked, m_now);
    std::vector<int> rows;
    if (m_added) rows.push_back(static_cast<int>(m_channel->love.size()) - 1);
    m_view.show_channel(*m_channel, rows);
}
void AddLoveCommand::undo() {
    if (m_added) remove_added_love(*m_channel, *m_added);
    m_added.reset();
    m_view.show_channel(*m_channel, {});
}

EditLoveCommand::EditLoveCommand(FavouritesView& view, std::shared_ptr<chl_serv_list> channel,
                                 int row, std::string title, std::uint8_t liked)
    : m_view(view),
      m_channel(std::move(channel)),
      m_row(row),
      m_title(std::move(title)),
      m_liked(liked) {
    setText(QStringLiteral("изменение передачи"));
}

void EditLoveCommand::redo() {
    m_edited = edit_love_entry(*m_channel, m_row, m_title, m_liked);
    m_view.show_channel(*m_channel, {m_row});
}
void EditLoveCommand::undo() {
    if (m_edited) undo_love_edit(*m_channel, *m_edited);
    m_edited.reset();
    m_view.show_channel(*m_channel, {m_row});
}

MoveLoveCommand::MoveLoveCommand(FavouritesView& view, std::shared_ptr<chl_serv_list> channel,
                                 int from, int to)
    : m_view(view), m_channel(std::move(channel)), m_from(from), m_to(to) {
    setText(QStringLiteral("Переместить передачу"));
}

void MoveLoveCommand::redo() {
    move_love_entry(*m_channel, m_from, m_to);
    m_view.show_channel(*m_channel, {m_to});
}
void MoveLoveCommand::undo() {
    move_love_entry(*m_channel, m_to, m_from);
    m_view.show_channel(*m_channel, {m_from});
}

}  // namespace zt::managers
