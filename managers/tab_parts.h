#pragma once

#include <QKeySequence>
#include <QStyle>
#include <functional>

class QAbstractButton;
class QAction;
class QTableView;
class QToolButton;
class QWidget;

namespace zt {

class RowPainter;
struct Settings;

// Pieces the genre-groups and favourites tabs of the manager build alike.

// A command button with an icon, its hint as tool tip and as the name a screen reader says.
QToolButton* make_command_button(QWidget& parent, const char* name, const QString& hint,
                                 QStyle::StandardPixmap icon);

// A key of a list (Del, Insert, F2, Ctrl+Up ...) that runs `run` while the list has focus.
QAction* add_list_key(QWidget& list, const QKeySequence& key, std::function<void()> run);

// The table font, colours and grid lines of the settings on a manager list and its painter.
void apply_list_settings(QTableView& list, RowPainter& painter, const Settings& settings);

}  // namespace zt
