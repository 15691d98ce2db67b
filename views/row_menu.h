#pragma once

#include <QObject>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace zt {
namespace views {
struct RowMenuState;
}

// The popup menu of a programme row (PopupMenuProgAll): "Подробнее", "Не любимая", "Маркер",
// "Любимая" and "Оповещение", checked as the row is. The programme pages act on its signals.
class ProgramRowMenu final : public QObject {
    Q_OBJECT
public:
    // The menu is a child of `window`.
    ProgramRowMenu(QWidget* window, QObject* parent);

    QMenu& menu() const { return *m_menu; }
    // Shows the menu at `global` with the items as `state` says (null: as they were).
    void popup(const views::RowMenuState* state, const QPoint& global);

signals:
    void details_chosen();
    void disliked_chosen();
    void mark_chosen();
    void liked_chosen();
    void alarm_chosen();

private:
    QMenu* m_menu;
    QAction* m_details;
    QAction* m_disliked;
    QAction* m_mark;
    QAction* m_liked;
    QAction* m_alarm;
};

}  // namespace zt
