#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "managers/manager_context.h"

class QAction;
class QTabWidget;
class QUndoStack;

namespace zt {

class ChannelGroupsTab;
class FavouritesTab;
class GenreGroupsTab;

// The manager window `TFMgr` "Менеджер": the tabs "Каналы", "Типы" and "Передачи" over the
// store, and the undo stack of their commands ("Отменить" Ctrl+Z, "Повторить" Ctrl+Shift+Z),
// emptied when the window closes. Lives for the whole run; run() shows it modally.
class TFMgr final : public QDialog {
    Q_OBJECT
public:
    // Tab indexes for run().
    enum Tab { channels = 0, genres = 1, favourites = 2 };

    TFMgr(all_list& store, SettingsStore& settings, const LogoImages& logos, UserInterface& ui,
          QWidget* parent = nullptr);
    ~TFMgr() override;

    void set_show_channel_info(std::function<void(const std::shared_ptr<chl_serv_list>&,
                                                  const std::shared_ptr<chl_local_list>&)>
                                   show);

    // Prepares every tab, shows the window modally on `tab` and returns when it was closed
    // (by any means), with the store complete and the undo stack empty.
    void run(Tab tab = channels);

    ChannelGroupsTab& channel_tab() const { return *m_channels; }
    GenreGroupsTab& genre_tab() const { return *m_genres; }
    FavouritesTab& favourites_tab() const { return *m_favourites; }
    QUndoStack& undo_stack() const { return *m_undo; }
    QAction* ActionUndo = nullptr;
    QAction* ActionRedo = nullptr;

signals:
    // The window is about to be shown (tests drive it from here) and has closed.
    void opened();

private:
    QTabWidget* PageControl = nullptr;

    std::unique_ptr<QUndoStack> m_undo;
    std::unique_ptr<ManagerContext> m_ctx;
    ChannelGroupsTab* m_channels = nullptr;
    GenreGroupsTab* m_genres = nullptr;
    FavouritesTab* m_favourites = nullptr;
};

}  // namespace zt
