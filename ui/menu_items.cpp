#include "ui/menu_items.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "ui/cp_text.h"

namespace zt {

QAction* make_action(QObject& owner, const char* name, const QString& caption,
                     const QKeySequence& shortcut) {
    auto* a = new QAction(caption, &owner);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    return a;
}

QAction* make_switch(QObject& owner, const char* name, const QString& caption,
                     const QKeySequence& shortcut, bool checked) {
    QAction* a = make_action(owner, name, caption, shortcut);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

QAction* make_radio(QActionGroup& group, const char* name, const QString& caption,
                    const QKeySequence& shortcut, bool checked) {
    QAction* a = make_switch(*group.parent(), name, caption, shortcut, checked);
    group.addAction(a);
    return a;
}

QMenu* add_submenu(QMenu& menu, const char* name, const QString& caption) {
    QMenu* sub = menu.addMenu(caption);
    sub->setObjectName(QString::fromLatin1(name));
    return sub;
}

QString menu_text(const std::string& cp1251) {
    return from_cp(cp1251).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace zt
