#include "views/row_menu.h"

#include <QAction>
#include <QMenu>

#include "views/logic/row_commands.h"

namespace zt {

ProgramRowMenu::ProgramRowMenu(QWidget* window, QObject* parent)
    : QObject(parent), m_menu(new QMenu(window)) {
    m_menu->setObjectName(QStringLiteral("PopupMenuProgAll"));
    m_details = m_menu->addAction(QStringLiteral("Подробнее"));
    m_details->setObjectName(QStringLiteral("MProgAllAnons"));
    m_menu->addSeparator();
    m_disliked = m_menu->addAction(QStringLiteral("Не любимая"));
    m_disliked->setObjectName(QStringLiteral("MProgAllLoveN"));
    m_mark = m_menu->addAction(QStringLiteral("Маркер"));
    m_mark->setObjectName(QStringLiteral("MProgAllMark"));
    m_liked = m_menu->addAction(QStringLiteral("Любимая"));
    m_liked->setObjectName(QStringLiteral("MProgAllLoveY"));
    m_menu->addSeparator();
    m_alarm = m_menu->addAction(QStringLiteral("Оповещение"));
    m_alarm->setObjectName(QStringLiteral("MProgAllAlarm"));
    for (QAction* a : {m_disliked, m_mark, m_liked, m_alarm}) a->setCheckable(true);
    connect(m_details, &QAction::triggered, this, &ProgramRowMenu::details_chosen);
    connect(m_disliked, &QAction::triggered, this, &ProgramRowMenu::disliked_chosen);
    connect(m_mark, &QAction::triggered, this, &ProgramRowMenu::mark_chosen);
    connect(m_liked, &QAction::triggered, this, &ProgramRowMenu::liked_chosen);
    connect(m_alarm, &QAction::triggered, this, &ProgramRowMenu::alarm_chosen);
}

void ProgramRowMenu::popup(const views::RowMenuState* state, const QPoint& global) {
    if (state) {
        m_details->setEnabled(state->details);
        m_disliked->setChecked(state->disliked);
        m_mark->setChecked(state->mark);
        m_liked->setChecked(state->liked);
        m_alarm->setChecked(state->alarm);
    }
    m_menu->popup(global);
}

}  // namespace zt
