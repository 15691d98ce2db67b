#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QScrollArea;
class QToolButton;

namespace zt {

struct PanelViewActions;
struct Settings;
struct ViewState;
enum class SystemCategory;

// The genre panel of the side panel and the "Типы" menu: the buttons "Группы" (genre groups),
// "Все типы", "Системные" (the five system categories) and one button per genre family with
// its sub-genres, each with a popup menu, and the same structure in "Типы". The filter itself
// is the genres' `filter_on` flags and the shared genre filter of the view state; every
// command redraws the marks and ends with the rebuild given to the panel.
class GenrePanel final : public QWidget {
    Q_OBJECT
public:
    GenrePanel(ViewState& view, Settings& settings, QWidget* parent = nullptr);

    // "&Типы" (MTypes), for the menu bar, and "Подробно" / "Кратко" / sizes of "Каналы и
    // типы"; the panel owns and handles them.
    QMenu& menu() const { return *m_menu; }
    const PanelViewActions& view_actions() const { return *m_view_actions; }
    ~GenrePanel() override;

    void set_rebuild(std::function<void()> rebuild) { m_rebuild = std::move(rebuild); }
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
    bool detailed() const { return m_detailed; }
    int icon_size() const { return m_size; }

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
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* add_button(const QString& name, const QString& caption, QMenu* popup);
    void build_fixed();
    void sync_marks();
    void layout_buttons(bool refresh_scroll);
    void rebuild();

    ViewState& m_view;
    Settings& m_settings;
    QMenu* m_menu = nullptr;
    std::unique_ptr<PanelViewActions> m_view_actions;
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
    std::function<void()> m_rebuild;
    bool m_built = false;
    bool m_detailed = true;
    int m_size = 16;
};

}  // namespace zt
