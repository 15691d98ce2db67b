#pragma once

#include <QWidget>
#include <vector>

#include "managers/logic/genre_group_commands.h"

class QLabel;
class QToolButton;

namespace zt {

struct ManagerContext;
class OrderedListView;
class RowPainter;
class TypeAllModel;
class TypeGroupModel;

// The manager's tab "Типы": the genre list `ListViewTypeAll` (abbreviations edited in place,
// check boxes showing and setting the current genre group's members by the family carry rule,
// "В группах" counts) and the genre groups `ListViewTypeGroup` with their commands. Every
// change of the store is an undo command on the manager's stack.
class GenreGroupsTab final : public QWidget, private managers::GenreGroupsView {
    Q_OBJECT
public:
    GenreGroupsTab(ManagerContext& ctx, QWidget* parent = nullptr);
    ~GenreGroupsTab() override;

    // Before the manager shows: no current group, lists sized to the store.
    void prepare();
    // After it closed: the abbreviations and groups are in the store already.
    void finish() {}

    // The index of the current genre group in `type_groups`, -1 for none.
    int current_group() const { return m_current; }
    const std::vector<bool>& ticks() const { return m_ticks; }
    OrderedListView& genre_list() const { return *m_genres; }
    OrderedListView& group_list() const { return *m_groups; }

    // The commands (buttons, keys and menus call these).
    void CreateGroup();
    void EditGroup();
    void DeleteGroups();
    void MoveGroup(int delta);
    void SortGroups();
    void ToggleGenre(int row);
    void GenreMenu(managers::TickCommand command);
    // The click rule: the current group takes exactly the ticked sub-genres.
    void ApplyClickRule();

private:
    void show_group(const type_group_list* group) override;
    void show_genre(int row) override;
    void SelectGroup(int row);
    void ShowCurrent();
    void apply_settings();

    ManagerContext& m_ctx;
    std::vector<bool> m_ticks;
    int m_current = -1;
    bool m_showing = false;
    RowPainter* m_genre_painter;
    RowPainter* m_group_painter;
    TypeAllModel* m_genre_model;
    TypeGroupModel* m_group_model;
    OrderedListView* m_genres;
    OrderedListView* m_groups;
    QLabel* m_current_label;
};

}  // namespace zt
