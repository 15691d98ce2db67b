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

}  // namespace

MainMenu build_main_menu(QMenuBar& bar, QObject& owner) {
    MainMenu m;

    m.MData = bar.addMenu(QStringLiteral("&Данные"));
    m.MData->setObjectName(QStringLiteral("MData"));
    m.MDataCabinet = add_item(*m.MData, "MDataCabinet", QStringLiteral("Личный кабинет"),
                              QKeySequence(Qt::CTRL | Qt::Key_C));
    m.MStat = add_item(*m.MData, "MStat", QStringLiteral("Статистика"));
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
    m.MPanelUtils->addSeparator();
    m.MPanelUtilsTypes =
        add_switch(*m.MPanelUtils, "MPanelUtilsTypes", QStringLiteral("Показывать типы"),
                   QKeySequence(Qt::CTRL | Qt::Key_T), true);

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
    return m;
}

}  // namespace zt
