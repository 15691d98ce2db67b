#pragma once

#include <QKeySequence>
#include <QString>
#include <string>

class QAction;
class QActionGroup;
class QMenu;
class QObject;

namespace zt {

// Actions are made by the component that handles them and owned by it; menus only show them.
// Object names are the ones tests and the rest of the program find them by.

// A command; a shortcut given works while the action's window is active.
QAction* make_action(QObject& owner, const char* name, const QString& caption,
                     const QKeySequence& shortcut = {});
// A checkable switch.
QAction* make_switch(QObject& owner, const char* name, const QString& caption,
                     const QKeySequence& shortcut = {}, bool checked = false);
// A checkable item of an exclusive group (owned by the group's owner).
QAction* make_radio(QActionGroup& group, const char* name, const QString& caption,
                    const QKeySequence& shortcut = {}, bool checked = false);
// A named submenu of `menu`.
QMenu* add_submenu(QMenu& menu, const char* name, const QString& caption);

// A store text (CP1251) as a menu caption: "&" is shown as it is, never taken as an
// accelerator.
QString menu_text(const std::string& cp1251);

}  // namespace zt
