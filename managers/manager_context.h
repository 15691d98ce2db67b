#pragma once

#include <functional>
#include <memory>

class QUndoStack;
class QWidget;

namespace zt {

class all_list;
class LogoImages;
class SettingsStore;
class UserInterface;
struct chl_local_list;
struct chl_serv_list;

// What the tabs of the manager window `TFMgr` share. The window owns the undo stack; the
// application owns everything else. Every tab is a QWidget constructed as
// `(ManagerContext& ctx, QWidget* parent)` and offers two calls the window makes:
//   void prepare();  // before every showing: lists sized to the store, captions with counts,
//                    // its current index set to none
//   void finish();   // after the window closed: anything held only in the tab goes into the
//                    // store (the store must be complete when finish() returns)
// Commands change the store at once, each through a QUndoCommand pushed on `undo`, whose
// redo() and undo() call the headless operations of managers/logic/.
struct ManagerContext final {
    all_list& store;
    // The live settings: table colours and font, "Логотипы каналов в таблицах".
    SettingsStore& settings;
    // Cleared when the window closes.
    QUndoStack& undo;
    // Channel logos, decoded by the main window from the store's `logos`.
    const LogoImages& logos;
    // Questions (MsgKind::Question, true = "Да") and errors, UTF-8.
    UserInterface& ui;
    // The channel description window for a delivered channel, or for a member of a group
    // (member null for a delivered channel). Unset in tests: nothing is shown.
    std::function<void(const std::shared_ptr<chl_serv_list>&,
                       const std::shared_ptr<chl_local_list>&)>
        show_channel_info;
};

}  // namespace zt
