#include "ui/monitors.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace zt {

QList<QScreen*> monitors() {
    QList<QScreen*> list;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) list.push_back(primary);
    for (QScreen* s : QGuiApplication::screens())
        if (s != primary) list.push_back(s);
    return list;
}

QStringList monitor_items() {
    QStringList items;
    const auto list = monitors();
    for (int i = 0; i < std::max<qsizetype>(list.size(), 1); ++i)
        items.push_back(i == 0 ? QStringLiteral("Основном мониторе")
                               : QString::number(i + 1) + QStringLiteral(" мониторе"));
    return items;
}

QScreen* monitor_screen(int index) {
    const auto list = monitors();
    if (index > 0 && index < list.size()) return list[index];
    return QGuiApplication::primaryScreen();
}

}  // namespace zt
