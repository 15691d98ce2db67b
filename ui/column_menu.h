#pragma once

#include <QString>
#include <vector>

class QAction;
class QMenu;

namespace zt {

// A menu of many items in columns: Qt menus cannot break into columns, so the items beyond
// the first column go into submenus "Ещё (a–b)" of the menu, `column_name` + 1, 2, ... The
// channel list of "Каналы" is one.
class ColumnMenu final {
public:
    ColumnMenu(QMenu& menu, QString column_name) : m_menu(menu), m_name(std::move(column_name)) {}

    // Starts a list with one item for each entry of `starts`; an item whose entry is true
    // opens a new column.
    void begin(std::vector<bool> starts);
    // The next item of the list, in its column.
    QAction* add(const QString& caption);
    // Removes the items and the column submenus.
    void clear();

    const std::vector<QAction*>& items() const { return m_items; }
    const std::vector<QMenu*>& columns() const { return m_columns; }

private:
    QMenu& m_menu;
    QString m_name;
    std::vector<bool> m_starts;
    std::vector<QAction*> m_items;
    std::vector<QMenu*> m_columns;
    QMenu* m_column = nullptr;
};

}  // namespace zt
