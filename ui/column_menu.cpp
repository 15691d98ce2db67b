#include "ui/column_menu.h"

#include <QAction>
#include <QMenu>

namespace zt {

void ColumnMenu::begin(std::vector<bool> starts) {
    clear();
    m_starts = std::move(starts);
}

QAction* ColumnMenu::add(const QString& caption) {
    const std::size_t index = m_items.size();
    if (index < m_starts.size() && m_starts[index]) {
        // The column runs to the item before the next start.
        std::size_t last = index;
        while (last + 1 < m_starts.size() && !m_starts[last + 1]) ++last;
        m_column = m_menu.addMenu(QStringLiteral("Ещё (%1–%2)").arg(index + 1).arg(last + 1));
        m_column->setObjectName(m_name + QString::number(m_columns.size() + 1));
        m_columns.push_back(m_column);
    }
    QAction* item = (m_column ? m_column : &m_menu)->addAction(caption);
    m_items.push_back(item);
    return item;
}

void ColumnMenu::clear() {
    for (QAction* a : m_items) delete a;
    m_items.clear();
    for (QMenu* m : m_columns) delete m;
    m_columns.clear();
    m_column = nullptr;
    m_starts.clear();
}

}  // namespace zt
