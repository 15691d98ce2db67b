#include "views/menu_builder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/menu_items.h"
#include "views/panel_view_actions.h"
#include "views/program_pages.h"

namespace zt {
namespace {

QMenu* add_bar_menu(QMenuBar& bar, const char* name, const QString& caption) {
    QMenu* m = bar.addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    return m;
}

// "Показывать ..." of a panel followed by its mode and size items.
void add_panel_items(QMenu& menu, QAction* show, const PanelViewActions& view) {
    menu.addAction(show);
    menu.addAction(view.full);
    menu.addAction(view.small);
    QMenu* sizes = menu.addMenu(QStringLiteral("Размер шрифта и значков"));
    sizes->setObjectName(view.prefix + QStringLiteral("Size"));
    for (QAction* a : view.sizes) sizes->addAction(a);
}

// "Получить" with the automatic download switch and the manual download; the markers and personal
// settings items are kept hidden, and so is "Отправить".
void add_download_menu(QMenu& data, const MainWindowActions& w) {
    QMenu* get = add_submenu(data, "MDataDownload", QStringLiteral("Получить"));
    get->addAction(w.download_auto);
    get->addSeparator();
    get->addAction(w.download_prog);
    for (const auto& [name, caption] :
         {std::pair{"MDataDownloadMarker", "Маркеры"},
          std::pair{"MDataDownloadSettings", "Персональные настройки"}}) {
        QAction* hidden = get->addAction(QString::fromUtf8(caption));
        hidden->setObjectName(QString::fromLatin1(name));
        hidden->setVisible(false);
    }
    QMenu* upload = add_submenu(data, "MDataUpload", QStringLiteral("Отправить"));
    upload->addAction(QStringLiteral("Маркеры"));
    upload->addAction(QStringLiteral("Персональные настройки"));
    upload->menuAction()->setVisible(false);
}

}  // namespace

QMenu& build_menu_bar(QMenuBar& bar, const MenuParts& parts) {
    const MainWindowActions& w = parts.window;
    const ProgramPageActions& p = parts.pages;

    QMenu* data = add_bar_menu(bar, "MData", QStringLiteral("&Данные"));
    QMenu* week = add_submenu(*data, "MDataWeek", QStringLiteral("Неделя"));
    week->addAction(p.week_cur);
    week->addAction(p.week_next);
    add_download_menu(*data, w);
    data->addAction(w.cabinet);
    data->addAction(w.stat);
    data->addSeparator();
    data->addAction(w.manager);
    data->addAction(w.print);
    data->addAction(w.settings);
    data->addSeparator();
    data->addAction(w.to_tray);
    data->addSeparator();
    data->addAction(w.exit);

    QMenu* panels = add_bar_menu(bar, "MPanel", QStringLiteral("&Панели"));
    QMenu* utils = add_submenu(*panels, "MPanelUtils", QStringLiteral("Каналы и типы"));
    for (QAction* a : w.position) utils->addAction(a);
    utils->addSeparator();
    add_panel_items(*utils, w.show_channels, parts.channel_view);
    utils->addSeparator();
    add_panel_items(*utils, w.show_types, parts.genre_view);
    QMenu* prog = add_submenu(*panels, "MPanelProg", QStringLiteral("Передачи"));
    QMenu* page = add_submenu(*prog, "MPanelProgPage", QStringLiteral("Закладки"));
    for (QAction* a : p.pages) page->addAction(a);
    QMenu* size = add_submenu(*prog, "MPanelProgSize", QStringLiteral("Размер шрифта и значков"));
    for (QAction* a : p.sizes) size->addAction(a);
    prog->addSeparator();
    prog->addAction(p.past);
    prog->addAction(p.abbreviations);
    QMenu* alarms = add_submenu(*panels, "MPanelAlarm", QStringLiteral("Оповещение"));

    bar.addMenu(&parts.channels);
    bar.addMenu(&parts.types);

    QMenu* help = add_bar_menu(bar, "MHelp", QStringLiteral("&Справка"));
    help->addAction(w.help_index);
    help->addSeparator();
    help->addAction(w.help_site);
    help->addAction(w.help_mail);
    help->addSeparator();
    help->addAction(parts.about);
    return *alarms;
}

}  // namespace zt
