#pragma once

#include <QUndoCommand>
#include <memory>
#include <string>
#include <vector>

#include "managers/logic/favourites.h"

namespace zt::managers {

// What the favourites commands tell the window after they ran (either way): the channel whose
// list changed, to be shown, with the rows to select.
class FavouritesView {
public:
    virtual ~FavouritesView() = default;
    virtual void show_channel(const chl_serv_list& channel, const std::vector<int>& rows) = 0;
};

// Undo commands of the favourites manager: redo runs the store operation, undo its inverse.

class SetLoveLikedCommand final : public QUndoCommand {
public:
    SetLoveLikedCommand(FavouritesView& view, std::shared_ptr<chl_serv_list> channel,
                        std::vector<int> rows, std::uint8_t liked);
    void redo() override;
    void undo() override;

private:
    FavouritesView& m_view;
    std::shared_ptr<chl_serv_list> m_channel;
    std::vector<int> m_rows;
    std::uint8_t m_liked;
    std::vector<LikedChange> m_changes;
};

class DeleteLoveCommand final : public QUndoCommand {
public:
    DeleteLoveCommand(FavouritesView& view, std::shared_ptr<chl_serv_list> channel,
                      std::vector<int> rows);
    void redo() override;
    void undo() override;

private:
    FavouritesView& m_view;
    std::shared_ptr<chl_serv_list> m_channel;
    std::vector<int> m_rows;
    std::vector<DroppedLove> m_dropped;
};

// The window checks the title (add_love_title's refusals) before it pushes the command.
class AddLoveCommand final : public QUndoCommand {
public:
    AddLoveCommand(FavouritesView& view, std::shared_ptr<chl_serv_list> channel, std::string title,
                   std::uint8_t liked, DateTime now);
    void redo() override;
    void undo() override;

private:
    FavouritesView& m_view;
    std::shared_ptr<chl_serv_list> m_channel;
    std::string m_title;
    std::uint8_t m_liked;
    DateTime m_now;
    std::optional<LoveAdded> m_added;
};

class EditLoveCommand final : public QUndoCommand {
public:
    EditLoveCommand(FavouritesView& view, std::shared_ptr<chl_serv_list> channel, int row,
                    std::string title, std::uint8_t liked);
    void redo() override;
    void undo() override;

private:
    FavouritesView& m_view;
    std::shared_ptr<chl_serv_list> m_channel;
    int m_row;
    std::string m_title;
    std::uint8_t m_liked;
    std::optional<LoveEdited> m_edited;
};

class MoveLoveCommand final : public QUndoCommand {
public:
    MoveLoveCommand(FavouritesView& view, std::shared_ptr<chl_serv_list> channel, int from, int to);
    void redo() override;
    void undo() override;

private:
    FavouritesView& m_view;
    std::shared_ptr<chl_serv_list> m_channel;
    int m_from, m_to;
};

}  // namespace zt::managers
