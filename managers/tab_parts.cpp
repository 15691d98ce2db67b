#include "managers/tab_parts.h"

#include <QAction>
#include <QHeaderView>
#include <QTableView>
#include <QToolButton>

#include "storage/settings.h"
#include "ui/cp_text.h"
#include "ui/row_painter.h"

namespace zt {

QToolButton* make_command_button(QWidget& parent, const char* name, const QString& hint,
                                 QStyle::StandardPixmap icon) {
    auto* b = new QToolButton(&parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(parent.style()->standardIcon(icon));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setAutoRaise(false);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

QAction* add_list_key(QWidget& list, const QKeySequence& key, std::function<void()> run) {
    auto* a = new QAction(&list);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(a, &QAction::triggered, &list, [run = std::move(run)] { run(); });
    list.addAction(a);
    return a;
}

void apply_list_settings(QTableView& list, RowPainter& painter, const Settings& settings) {
    const ViewSettings& v = settings.view;
    QFont font = list.font();
    if (!v.font_name.empty()) font.setFamily(from_cp(v.font_name));
    if (v.font_size > 0) font.setPointSize(v.font_size);
    font.setBold(v.font_bold);
    font.setItalic(v.font_italic);
    list.setFont(font);
    painter.set_colours(row_colours(v));
    list.setShowGrid(settings.general.table_grid);
    list.verticalHeader()->setDefaultSectionSize(std::max(QFontMetrics(font).height() + 4, 18));
    QPalette palette = list.palette();
    palette.setColor(QPalette::Base, painter.colours().back);
    list.setPalette(palette);
}

}  // namespace zt
