#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "managers/logic/favourite_commands.h"

class QComboBox;
class QMenu;

namespace zt {

struct ManagerContext;
class FavouriteDialog;
class LoveModel;
class OrderedListView;
class RowPainter;

// The manager's tab "Передачи": the channel box `ComboBoxExLoveChannel` with the channels that
// had favourite entries when the manager opened, and the list `ListViewLove` of the chosen
// channel's entries with their commands (switch kind, select by the day last seen, delete, and
// add, edit and move). Every change of the store is an undo command on the manager's stack.
class FavouritesTab final : public QWidget, private managers::FavouritesView {
    Q_OBJECT
public:
    FavouritesTab(ManagerContext& ctx, QWidget* parent = nullptr);
    ~FavouritesTab() override;

    // Before the manager shows: no current channel, the box filled anew.
    void prepare();
    void finish() {}

    // The index in `channels` of the listed channel, -1 for none.
    int current_channel() const;
    QComboBox& channel_box() const { return *m_box; }
    OrderedListView& love_view() const { return *m_list; }
    FavouriteDialog& dialog() const { return *m_dialog; }

    // The commands (buttons, keys and menus call these).
    void ChooseChannel(int item);
    void SetLiked(std::uint8_t liked);
    void SelectSeenBefore(int days);
    void DeleteEntries();
    void AddEntry();
    void EditEntry();
    void MoveEntry(int delta);

private:
    void show_channel(const chl_serv_list& channel, const std::vector<int>& rows) override;
    bool refuse(managers::LoveTitleError error);
    void apply_settings();

    ManagerContext& m_ctx;
    // The channels of the box, item by item.
    std::vector<std::shared_ptr<chl_serv_list>> m_channels;
    RowPainter* m_painter;
    LoveModel* m_model;
    QComboBox* m_box;
    OrderedListView* m_list;
    QMenu* m_periods;
    FavouriteDialog* m_dialog;
};

}  // namespace zt
