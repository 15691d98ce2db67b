#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "views/panel_base.h"

class QAction;
class QActionGroup;
class QMenu;
class QScrollArea;
class QToolButton;

namespace zt {

enum class SystemCategory;

// The genre panel of the side panel and the "Типы" menu: the buttons "Группы" (genre groups),
// "Все типы", "Системные" (the five system categories) and one button per genre family with
// its sub-genres, each with a popup menu, and the same structure in "Типы". The filter itself
// is the genres' `filter_on` flags and the shared genre filter of the view state; every
// command redraws the marks and ends with the rebuild given to the panel.
class GenrePanel final : public PanelBase {
    Q_OBJECT
public:
    GenrePanel(ViewState& view, Settings& settings, QWidget* parent = nullptr);

    // menu(): "&Типы" (MTypes), for the menu bar.
    ~GenrePanel() override;

    // The scroll area the panel lives in (`ScrollBoxTypes`): scrolled by the wheel, focused.
    void set_scroll_area(QScrollArea* area);

    // Buttons in creation order: "BBTG", "BBTA", "BBTS", then "BBT" + family number.
    const std::vector<QToolButton*>& buttons() const { return m_buttons; }
    QMenu* PopupMenuTypesGroup = nullptr;
    QMenu* PopupMenuTypesAll = nullptr;
    QMenu* PopupMenuTypesSys = nullptr;

    // The fixed part of "Типы"; the buttons' popups show the same items (one action each).
    QMenu* MTypesGroup = nullptr;              // "Группы"
    QMenu* MTypesAll = nullptr;                // "Все типы"
    std::array<QAction*, 3> MTypesAllItems{};  // MTypesAllOn, MTypesAllInv, MTypesAllOff
    QMenu* MTypesSys = nullptr;                // "Системные"
    std::array<QAction*, 5> MTypesSysItems{};  // MTypesSysClear .. MTypesSysAlarm

    // Builds the family buttons, their popups and the family submenus of "Типы" from the genre
    // catalogue; once per run, after the catalogue is built.
    void BuildGenreControls();
    bool built() const { return m_built; }
    // The genre group radio items in "Группы" of "Типы" and in the "Группы" popup.
    void BuildGenreGroupMenus();
    void ClearGenreGroupMenus();
    // Family glyph overlays and sub-genre check marks from the genres' flags.
    void RefreshGenreMarks();
    void SetGenrePanelMode(bool detailed);
    void SetGenrePanelSize(int size);

    // The commands (also reachable through the menu items).
    void choose_group(int index);
    void all_command(int position);
    void family_command(int position, int genre_id);
    void set_genre(int genre_id, bool checked);
    void toggle_system(int category);

    // The family submenus of "Типы" and the family buttons' popups, in family order.
    const std::vector<QMenu*>& family_menus() const { return m_family_menus; }
    const std::vector<QMenu*>& family_popups() const { return m_family_popups; }
    // One item per genre group, shown in "Группы" of "Типы" and in the "Группы" popup.
    const std::vector<QAction*>& group_items() const { return m_group_items; }
    // The glyph a family button shows now (its icon with the overlay).
    QPixmap family_glyph(int family_index) const;

    void apply_settings();
    // Font of the buttons and the panel's background from the view settings.
    void apply_view_settings();

protected:
    void show_mode(bool detailed) override { SetGenrePanelMode(detailed); }
    void show_size(int size) override { SetGenrePanelSize(size); }
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* add_button(const QString& name, const QString& caption, QMenu* popup);
    void build_fixed();
    void sync_marks();
    void layout_buttons(bool refresh_scroll);

    QScrollArea* m_scroll = nullptr;
    std::vector<QToolButton*> m_buttons;
    // Captions of the buttons, kept while compact mode shows only the icons.
    std::vector<QString> m_captions;
    std::vector<QPixmap> m_glyphs;
    std::vector<QMenu*> m_family_menus;
    std::vector<QMenu*> m_family_popups;
    // Per row of the catalogue: the sub-genre's item in "Типы" and in its family popup.
    std::vector<QAction*> m_type_items;
    std::vector<QAction*> m_group_items;
    QActionGroup* m_group_radio = nullptr;
    bool m_built = false;
};

}  // namespace zt
