#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "ui/image_lists.h"
#include "views/logic/channel_choice.h"
#include "views/panel_base.h"

class QAction;
class QActionGroup;
class QMenu;
class QScrollArea;
class QToolButton;

namespace zt {

class ChannelListModel;
class ChannelListView;
class ColumnMenu;
class RowPainter;

// The channel panel of the side panel and its "Каналы" menu: the group choice ("Группы"), the
// choice mode ("Выбор") and the bulk commands ("Все каналы"), the channels of the current group
// as a detailed list or a compact grid of logo buttons, and one menu item per channel. The
// choice itself lives in the shared view state; every command that changes what the programme
// tables show ends with the rebuild given to the panel.
class ChannelPanel final : public PanelBase {
    Q_OBJECT
public:
    // `logos` is the main window's logo cache, shared with the programme tables.
    ChannelPanel(ViewState& view, Settings& settings, LogoImages& logos, QWidget* parent = nullptr);
    ~ChannelPanel() override;

    // Opens the channel description window for a member at a screen point.
    void set_describe(std::function<void(const chl_local_list&, const QPoint&)> describe) {
        m_describe = std::move(describe);
    }

    QMenu* PopupMenuChannelsGroup = nullptr;
    QMenu* PopupMenuChannelsAll = nullptr;  // shows the items of "Все каналы"

    // menu(): "&Каналы" (MChannels), for the menu bar.

    // The fixed part of "Каналы".
    QMenu* MChannelsGroup = nullptr;     // "Группы"
    QMenu* MChannelsSelOnOff = nullptr;  // "Выбор"
    QAction* MChannelsSelOn = nullptr;   // "Однозначный"
    QAction* MChannelsSelOff = nullptr;  // "Многозначный"
    QMenu* MChannelsAll = nullptr;       // "Все каналы"
    QAction* MChannelsAllOn = nullptr;
    QAction* MChannelsAllInv = nullptr;
    QAction* MChannelsAllOff = nullptr;

    // Makes a group current and shows its channels (index outside the groups: no group), then
    // the programme pages are rebuilt unless `rebuild_pages` is false (the caller rebuilds them
    // itself).
    void SelectGroup(int index, bool rebuild_pages = true);
    // One radio item per group, shown in "Группы" of "Каналы" and in the "Группы" popup.
    void BuildGroupMenus();
    // Removes the group items and the channel items and empties the panel.
    void ClearGroupMenus();
    void SetChoiceMode(bool single);
    void ChooseFirstOnly();
    void ChooseAll(ChannelChoice::Kind kind);
    void ToggleChannel(int index);
    void ChooseFirst();
    // "Подробно" (list) or "Кратко" (logo grid); lays the panel out again.
    void SetChannelPanelMode(bool detailed);
    // 16, 24 or 32: buttons, logos and font.
    void SetChannelPanelSize(int size);
    // Docked left or right (buttons in a row) or top or bottom (buttons in a column).
    void set_upright(bool upright);

    // The state of the choice was changed from outside (the programme pages switch the choice
    // mode): the menu items, buttons and list are brought in line with it.
    void sync_choice();

    // Settings: mode, size and column widths from the model, and back before a save. The view
    // settings (font, colours, grid, logos) are taken again by apply_view_settings.
    void apply_settings();
    void collect_settings();
    void apply_view_settings();

    ChannelListModel& model() const { return *m_model; }
    // The channel items of "Каналы" in member order (some sit in the overflow column menus).
    const std::vector<QAction*>& channel_items() const;
    // The submenus holding the channels beyond the first menu column.
    const std::vector<QMenu*>& column_menus() const;
    // The compact buttons of the group's channels (made now if they were not yet).
    const std::vector<QToolButton*>& compact_buttons();
    // One item per group, shown in "Группы" of "Каналы" and in the "Группы" popup.
    const std::vector<QAction*>& group_items() const { return m_group_items; }

protected:
    void show_mode(bool detailed) override { SetChannelPanelMode(detailed); }
    void show_size(int size) override { SetChannelPanelSize(size); }
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The list's column widths; a column at its first-start width is widened to its caption.
    void set_column_widths(const std::vector<int>& widths);
    QToolButton* BitBtnChannelsGroup = nullptr;  // "Группы"
    QToolButton* SpeedButtonSelOnOff = nullptr;  // "Выбор": down = multiple choice
    QToolButton* BitBtnChannelsAll = nullptr;    // "Все каналы"
    ChannelListView* ListViewChannels = nullptr;
    QScrollArea* ScrollBoxListChl = nullptr;

    void build_buttons();
    void build_menu();
    void connect_commands();
    void clear_channels();
    void add_channel(int index, const chl_local_list& member);
    // The compact buttons of the current group's channels, made once the compact mode shows
    // them (the detailed list needs none: a group change then makes no widgets at all).
    void make_buttons();
    void add_button(int index, const chl_local_list& member);
    void layout_panel();
    void layout_grid(bool refresh_scroll);
    void update_marks();
    void update_mode_marks();
    void set_button_glyphs();
    void focus_list();
    void restart_list();
    void bulk(ChannelChoice::Kind kind);
    int wheel_step() const;

    std::unique_ptr<ColumnMenu> m_channel_menu;  // the channel items of "Каналы"
    LogoImages& m_logos;
    ChannelListModel* m_model = nullptr;
    RowPainter* m_painter = nullptr;
    QWidget* m_grid = nullptr;  // the buttons' parent inside ScrollBoxListChl
    QActionGroup* m_group_radio = nullptr;
    QActionGroup* m_mode_radio = nullptr;
    std::vector<QAction*> m_group_items;
    std::vector<QToolButton*> m_buttons;
    // Buttons of channels no longer shown, hidden, kept to show the next group's channels:
    // making and destroying hundreds of buttons is what a group change costs most.
    std::vector<QToolButton*> m_spare;
    bool m_buttons_made = false;  // m_buttons show the current group's channels
    std::function<void(const chl_local_list&, const QPoint&)> m_describe;
    bool m_upright = true;
};

}  // namespace zt
