#include "views/main_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace zt {
namespace {

QAction* add_item(QMenu& menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut = {}) {
    QAction* a = menu.addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    return a;
}

QAction* add_switch(QMenu& menu, const char* name, const QString& caption,
                    const QKeySequence& shortcut, bool checked) {
    QAction* a = add_item(menu, name, caption, shortcut);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

QAction* add_radio(QMenu& menu, QActionGroup& group, const char* name, const QString& caption,
                   const QKeySequence& shortcut, bool checked) {
    QAction* a = add_switch(menu, name, caption, shortcut, checked);
    group.addAction(a);
    return a;
}

QMenu* add_submenu(QMenu& menu, const char* name, const QString& caption) {
    QMenu* sub = menu.addMenu(caption);
    sub->setObjectName(QString::fromLatin1(name));
    return sub;
}

// "Подробно" / "Кратко" and "Размер шрифта и значков" of one panel, named `prefix` + "Full",
// "Small", "Size", "Size16", "Size24", "Size32".
void add_panel_items(QMenu& menu, QObject& owner, const QString& prefix, QAction*& full,
                     QAction*& small, QActionGroup*& modes, QMenu*& size_menu,
                     std::array<QAction*, 3>& sizes, QActionGroup*& size_group) {
    auto name = [&](const char* suffix) { return (prefix + QLatin1String(suffix)).toLatin1(); };
    modes = new QActionGroup(&owner);
    full = add_radio(menu, *modes, name("Full").constData(), QStringLiteral("Подробно"), {}, true);
    small = add_radio(menu, *modes, name("Small").constData(), QStringLiteral("Кратко"), {}, false);
    size_menu =
        add_submenu(menu, name("Size").constData(), QStringLiteral("Размер шрифта и значков"));
    size_group = new QActionGroup(&owner);
    const char* suffixes[3] = {"Size16", "Size24", "Size32"};
    const QString captions[3] = {QStringLiteral("Малый"), QStringLiteral("Средний"),
                                 QStringLiteral("Большой")};
    for (int i = 0; i < 3; ++i)
        sizes[std::size_t(i)] = add_radio(*size_menu, *size_group, name(suffixes[i]).constData(),
                                          captions[i], {}, i == 0);
}

}  // namespace

MainMenu build_main_menu(QMenuBar& bar, QObject& owner) {
    MainMenu m;

    m.MData = bar.addMenu(QStringLiteral("&Данные"));
    m.MData->setObjectName(QStringLiteral("MData"));
    m.MDataWeek = m.MData->addMenu(QStringLiteral("Неделя"));
    m.MDataWeek->setObjectName(QStringLiteral("MDataWeek"));
    m.weeks = new QActionGroup(&owner);
    m.weeks->setExclusive(true);
    m.MDataWeekCur = add_radio(*m.MDataWeek, *m.weeks, "MDataWeekCur", QStringLiteral("Текущая"),
                               QKeySequence(Qt::CTRL | Qt::Key_F10), true);
    m.MDataWeekNew = add_radio(*m.MDataWeek, *m.weeks, "MDataWeekNew", QStringLiteral("Будущая"),
                               QKeySequence(Qt::CTRL | Qt::Key_F11), false);
    m.MDataCabinet = add_item(*m.MData, "MDataCabinet", QStringLiteral("Личный кабинет"),
                              QKeySequence(Qt::CTRL | Qt::Key_C));
    m.MStat = add_item(*m.MData, "MStat", QStringLiteral("Статистика"));
    m.MData->addSeparator();
    m.MDataPrint = add_item(*m.MData, "MDataPrint", QStringLiteral("Печать"));
    m.MData->addSeparator();
    m.MDataTray = add_item(*m.MData, "MDataTray", QStringLiteral("Свернуть в системный трей"));
    m.MData->addSeparator();
    m.MDataExit = add_item(*m.MData, "MDataExit", QStringLiteral("Выход"),
                           QKeySequence(Qt::CTRL | Qt::Key_Q));

    m.MPanel = bar.addMenu(QStringLiteral("&Панели"));
    m.MPanel->setObjectName(QStringLiteral("MPanel"));
    m.MPanelUtils = m.MPanel->addMenu(QStringLiteral("Каналы и типы"));
    m.MPanelUtils->setObjectName(QStringLiteral("MPanelUtils"));
    m.positions = new QActionGroup(&owner);
    m.positions->setExclusive(true);
    m.MPanelUtilsHLeft =
        add_radio(*m.MPanelUtils, *m.positions, "MPanelUtilsHLeft", QStringLiteral("Слева"),
                  QKeySequence(Qt::CTRL | Qt::Key_L), true);
    m.MPanelUtilsHRight =
        add_radio(*m.MPanelUtils, *m.positions, "MPanelUtilsHRight", QStringLiteral("Справа"),
                  QKeySequence(Qt::CTRL | Qt::Key_R), false);
    m.MPanelUtilsVUp =
        add_radio(*m.MPanelUtils, *m.positions, "MPanelUtilsVUp", QStringLiteral("Вверху"),
                  QKeySequence(Qt::CTRL | Qt::Key_U), false);
    m.MPanelUtilsVDown =
        add_radio(*m.MPanelUtils, *m.positions, "MPanelUtilsVDown", QStringLiteral("Внизу"),
                  QKeySequence(Qt::CTRL | Qt::Key_D), false);
    m.MPanelUtils->addSeparator();
    m.MPanelUtilsChannels =
        add_switch(*m.MPanelUtils, "MPanelUtilsChannels", QStringLiteral("Показывать каналы"),
                   QKeySequence(Qt::CTRL | Qt::Key_K), true);
    add_panel_items(*m.MPanelUtils, owner, QStringLiteral("MPanelUtilsChannels"),
                    m.MPanelUtilsChannelsFull, m.MPanelUtilsChannelsSmall, m.channel_modes,
                    m.MPanelUtilsChannelsSize, m.MPanelUtilsChannelsSizes, m.channel_sizes);
    m.MPanelUtils->addSeparator();
    m.MPanelUtilsTypes =
        add_switch(*m.MPanelUtils, "MPanelUtilsTypes", QStringLiteral("Показывать типы"),
                   QKeySequence(Qt::CTRL | Qt::Key_T), true);
    add_panel_items(*m.MPanelUtils, owner, QStringLiteral("MPanelUtilsTypes"),
                    m.MPanelUtilsTypesFull, m.MPanelUtilsTypesSmall, m.type_modes,
                    m.MPanelUtilsTypesSize, m.MPanelUtilsTypesSizes, m.type_sizes);

    m.MPanelProg = m.MPanel->addMenu(QStringLiteral("Передачи"));
    m.MPanelProg->setObjectName(QStringLiteral("MPanelProg"));
    m.MPanelProgPage = m.MPanelProg->addMenu(QStringLiteral("Закладки"));
    m.MPanelProgPage->setObjectName(QStringLiteral("MPanelProgPage"));
    m.pages = new QActionGroup(&owner);
    m.pages->setExclusive(true);
    const char* page_names[4] = {"MPanelProgPage1", "MPanelProgPage2", "MPanelProgPage3",
                                 "MPanelProgPage4"};
    const QString page_captions[4] = {QStringLiteral("Сейчас"), QStringLiteral("Скоро"),
                                      QStringLiteral("По дням"), QStringLiteral("Поиск")};
    const Qt::Key page_keys[4] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4};
    for (int i = 0; i < 4; ++i)
        m.MPanelProgPages[std::size_t(i)] =
            add_radio(*m.MPanelProgPage, *m.pages, page_names[i], page_captions[i],
                      QKeySequence(Qt::CTRL | page_keys[i]), i == 0);
    m.MPanelProgSize = m.MPanelProg->addMenu(QStringLiteral("Размер шрифта и значков"));
    m.MPanelProgSize->setObjectName(QStringLiteral("MPanelProgSize"));
    m.prog_sizes = new QActionGroup(&owner);
    m.prog_sizes->setExclusive(true);
    const char* size_names[3] = {"MPanelProgSize16", "MPanelProgSize24", "MPanelProgSize32"};
    const QString size_captions[3] = {QStringLiteral("Малый"), QStringLiteral("Средний"),
                                      QStringLiteral("Большой")};
    for (int i = 0; i < 3; ++i)
        m.MPanelProgSizes[std::size_t(i)] = add_radio(*m.MPanelProgSize, *m.prog_sizes,
                                                      size_names[i], size_captions[i], {}, i == 0);
    m.MPanelProg->addSeparator();
    m.MPanelProgOld =
        add_switch(*m.MPanelProg, "MPanelProgOld", QStringLiteral("Прошедшие"), {}, true);
    m.MPanelProgTxt = add_switch(*m.MPanelProg, "MPanelProgTxt",
                                 QStringLiteral("Буквенные сокращения"), {}, false);
    m.MPanelAlarm = add_submenu(*m.MPanel, "MPanelAlarm", QStringLiteral("Оповещение"));

    m.MChannels = bar.addMenu(QStringLiteral("&Каналы"));
    m.MChannels->setObjectName(QStringLiteral("MChannels"));
    m.MTypes = bar.addMenu(QStringLiteral("&Типы"));
    m.MTypes->setObjectName(QStringLiteral("MTypes"));

    m.MHelp = bar.addMenu(QStringLiteral("&Справка"));
    m.MHelp->setObjectName(QStringLiteral("MHelp"));
    m.MHelpIndex = add_item(*m.MHelp, "MHelpIndex", QStringLiteral("Содержание"));
    m.MHelp->addSeparator();
    m.MHelpURL = add_item(*m.MHelp, "MHelpURL", QStringLiteral("Сайт программы"));
    m.MHelpEmail = add_item(*m.MHelp, "MHelpEmail", QStringLiteral("Письмо в службу поддержки"));
    m.MHelp->addSeparator();
    m.MHelpAbout = add_item(*m.MHelp, "MHelpAbout", QStringLiteral("О программе"));
    return m;
}

}  // namespace zt
