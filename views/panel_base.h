#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class QMenu;

namespace zt {

struct PanelViewActions;
struct Settings;
struct ViewState;

// What the channel and the genre panel share: the shared view state and the live settings,
// the panel's own menu of the menu bar, its "Подробно" / "Кратко" and size items of "Каналы и
// типы" (the user's choice goes to the panel's settings as it is made), the mode and icon
// size shown, and the rebuild that ends every command changing the visible schedule.
class PanelBase : public QWidget {
    Q_OBJECT
public:
    ~PanelBase() override;

    // The panel's menu for the menu bar and its view items; the panel owns and handles them.
    QMenu& menu() const { return *m_menu; }
    const PanelViewActions& view_actions() const { return *m_view_actions; }
    // Rebuilds the programme tables (RebuildProgramList).
    void set_rebuild(std::function<void()> rebuild) { m_rebuild = std::move(rebuild); }
    bool detailed() const { return m_detailed; }
    int icon_size() const { return m_size; }

protected:
    // The items are named `actions_prefix` + "Full", "Small", "Size16" ..; a click writes
    // `detailed_choice` or `size_choice` of the live settings.
    struct Names final {
        const char* panel;         // the panel's object name
        const char* menu;          // the menu's object name
        QString menu_caption;      // the menu's caption
        const char* view_actions;  // prefix of the view items
    };
    PanelBase(ViewState& view, Settings& settings, const Names& names, bool& detailed_choice,
              int& size_choice, QWidget* parent);

    // Shows the panel in the mode or icon size (the panels' SetXPanelMode / SetXPanelSize).
    virtual void show_mode(bool detailed) = 0;
    virtual void show_size(int size) = 0;
    // Takes the mode or the size (16, 24 or 32; another value as 16) and checks its item.
    void take_mode(bool detailed);
    void take_size(int size);
    void rebuild();

    ViewState& m_view;
    Settings& m_settings;
    QMenu* m_menu = nullptr;
    std::unique_ptr<PanelViewActions> m_view_actions;
    bool m_detailed = true;
    int m_size = 16;

private:
    std::function<void()> m_rebuild;
};

}  // namespace zt
